#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

// No exception may cross a Qt frame: every handler runs inside a guard that shows the
// standard error box and lets the program go on.

// The standard error box for an exception, worded by StoreError::forPerson: the program's
// own sentence, a store error's sentence, or the fixed sentence for any other fault.
void showError(QWidget* parent, const std::exception& e);

// Runs f; an exception is shown in the error box. True when f ran to the end.
bool runGuarded(QWidget* parent, const std::function<void()>& f);

namespace GuardDetail {

template <class F, class Tuple, std::size_t N> constexpr bool invocableWithFirst() {
    return []<std::size_t... I>(std::index_sequence<I...>) {
        return std::is_invocable_v<F&, std::tuple_element_t<I, Tuple>...>;
    }
    (std::make_index_sequence<N>{});
}

// Calls f with as many of the leading arguments as it takes, as a signal connection would.
template <class F, class Tuple, std::size_t N = std::tuple_size_v<Tuple>>
void callLeading(F& f, Tuple& args) {
    if constexpr (invocableWithFirst<F, Tuple, N>()) {
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            f(std::get<I>(args)...);
        }
        (std::make_index_sequence<N>{});
    } else if constexpr (N > 0) {
        callLeading<F, Tuple, N - 1>(f, args);
    } else {
        static_assert(N > 0, "the handler cannot take these arguments");
    }
}

} // namespace GuardDetail

// A callable that runs f inside the guard; errors are shown over parent's window.
template <class F> auto guarded(QWidget* parent, F&& f) {
    return [parent = QPointer<QWidget>(parent), f = std::forward<F>(f)](auto&&... args) mutable {
        auto tuple = std::forward_as_tuple(args...);
        runGuarded(parent.data(), [&] { GuardDetail::callLeading(f, tuple); });
    };
}

// connect() with the handler run inside the guard; the error box sits over the context's
// window when the context is a widget.
template <class Sender, class Signal, class F>
requires(!std::is_member_function_pointer_v<std::decay_t<F>>) QMetaObject::Connection
    connectGuarded(Sender* sender, Signal signal, QObject* context, F&& f) {
    QWidget* parent = qobject_cast<QWidget*>(context);
    return QObject::connect(sender, signal, context, guarded(parent, std::forward<F>(f)));
}

// The same for a handler that is a member of the receiver: connectGuarded(Button1,
// &QPushButton::clicked, this, &TForm11::Button1Click).
template <class Sender, class Signal, class Receiver, class Method>
requires std::is_member_function_pointer_v<Method> QMetaObject::Connection
connectGuarded(Sender* sender, Signal signal, Receiver* receiver, Method method) {
    auto call = [receiver, method](auto&&... args)
        -> decltype(std::invoke(method, receiver, std::forward<decltype(args)>(args)...)) {
        return std::invoke(method, receiver, std::forward<decltype(args)>(args)...);
    };
    return connectGuarded(sender, signal, static_cast<QObject*>(receiver), std::move(call));
}
