#pragma once
// Where an event handler's error goes. The central error handler installs itself at
// start-up; until it does, the error is written to stderr so that it is never lost.
// No exception may cross the event loop, so handlers hand their errors here instead
// of throwing.
#include <functional>
#include <string>

#include "core/user_interface.h"
#include "platform/sys/rt_error.h"

namespace core {

// `form` is the failing window, or nullptr for none.
using HandlerErrorSink = std::function<void(const sys::RtError& error, UiHandle form,
                                            const std::string& procName, const std::string& extra)>;

// An empty sink restores the stderr fallback.
void setHandlerErrorSink(HandlerErrorSink sink);
void handlerError(const sys::RtError& error, UiHandle form, const std::string& procName,
                  const std::string& extra = {});

}  // namespace core
