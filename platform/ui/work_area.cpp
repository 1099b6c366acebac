#include "platform/ui/work_area.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {
namespace {

std::function<QRect()>& provider() {
    static std::function<QRect()> p;
    return p;
}

}  // namespace

QRect workArea() {
    if (provider()) return provider()();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void setWorkAreaProvider(std::function<QRect()> p) { provider() = std::move(p); }

}  // namespace ui
