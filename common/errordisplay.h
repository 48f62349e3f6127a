#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace dorvik::common {

// The general error display: a modal box with the error's text.
void showError(const QString& text);

// Runs a handler; a database, file or conversion error ends it there and is shown.
// What the handler did before the failure stays done. Returns false when it failed.
bool guarded(const std::function<void()>& handler);

// Wraps a member handler for QObject::connect so no exception crosses the signal.
template <typename Receiver, typename Handler>
auto guard(Receiver* receiver, Handler handler) {
    return [receiver, handler] { guarded([&] { (receiver->*handler)(); }); };
}

} // namespace dorvik::common
