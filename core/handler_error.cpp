#include "core/handler_error.h"

#include <cstdio>

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
    std::fprintf(stderr, "Error %d in %s: %s %s\n", error.number(), procName.c_str(),
                 error.description().c_str(), extra.c_str());
}

}  // namespace core
