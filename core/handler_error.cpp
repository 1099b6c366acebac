#include "core/handler_error.h"

#include "core/error_handler.h"

namespace core {
namespace {

HandlerErrorSink& sink() {
    static HandlerErrorSink s;
    return s;
}

}  // namespace

void setHandlerErrorSink(HandlerErrorSink s) { sink() = std::move(s); }

void handlerError(const sys::RtError& error, UiHandle form, const std::string& procName,
                  const std::string& extra) {
    if (sink()) {
        sink()(error, form, procName, extra);
        return;
    }
    std::string proc = procName;
    std::string detail = extra.empty() ? error.description() : extra;
    ErrorHandler(error.number(), form, proc, detail);
}

}  // namespace core
