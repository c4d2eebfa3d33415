// The system's own icons (IDI_APPLICATION, IDI_HAND, IDI_QUESTION,
// IDI_EXCLAMATION, IDI_ASTERISK), drawn at any size from simple shapes.
#pragma once

#include <optional>

#include <windef.h>

#include "kernel/Icons.h"

namespace kernel {

// Nothing for an id that is not a system icon or a size outside 1..256.
std::optional<Icon> drawSystemIcon(WORD id, int size);

}  // namespace kernel
