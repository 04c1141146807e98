#include "ui/LongLived.h"

QList<QPointer<QObject>>& LongLived::screens() {
    static QList<QPointer<QObject>> list;
    return list;
}

void LongLived::add(QObject* screen) {
    screens().append(screen);
}

void LongLived::clear() {
    screens().clear();
}
