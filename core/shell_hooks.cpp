#include "core/shell_hooks.h"

namespace core {
namespace {
ShellHooks emptyHooks;
ShellHooks* current = &emptyHooks;
}  // namespace

ShellHooks& shellHooks() { return *current; }
void setShellHooks(ShellHooks* hooks) { current = hooks ? hooks : &emptyHooks; }

}  // namespace core
