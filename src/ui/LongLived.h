#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

// The screens created once at program start and shown again and again. Others reach them
// here by their type: LongLived::find<TForm72>().
class LongLived {
public:
    static void add(QObject* screen);
    static void clear();

    template <class T> static T* find() {
        for (const QPointer<QObject>& s : screens())
            if (T* found = qobject_cast<T*>(s.data()))
                return found;
        return nullptr;
    }

private:
    static QList<QPointer<QObject>>& screens();
};
