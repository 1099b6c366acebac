#pragma once
// Where a trapped error goes: ErrorHandler, unless a test installed a sink to collect
// it.
#include <functional>
#include <string>

#include "core/user_interface.h"
#include "platform/sys/rt_error.h"

namespace core {

// `form` is the failing window, or nullptr for none.
using HandlerErrorSink = std::function<void(const sys::RtError& error, UiHandle form,
                                            const std::string& procName, const std::string& extra)>;

// An empty sink restores ErrorHandler.
void setHandlerErrorSink(HandlerErrorSink sink);
// Without a sink: ErrorHandler, with the error's own description as the detail when no
// extra text is given.
void handlerError(const sys::RtError& error, UiHandle form, const std::string& procName,
                  const std::string& extra = {});

}  // namespace core
