// The modules of the process and their resources, for the platform's other
// modules: the window manager reads dialog templates, menus and menu-bar
// resources here, the graphics module bitmaps.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <windef.h>

#include "kernel/ResourceFile.h"

namespace kernel {

// The program's module: the one module of the process, a fixed handle.
HMODULE programModule();

// The resources of module (null means the program's); null for a handle that
// is not a module. Indexed once, at first use.
const ResourceIndex* moduleResources(HMODULE module);

// The bytes of a resource by type and name (ordinals via MAKEINTRESOURCE,
// "#123", or names without regard to case); nothing when it is missing.
std::optional<std::span<const uint8_t>> findResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name);

}  // namespace kernel
