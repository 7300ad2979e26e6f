// Skin pictures stored as PNG resources.
#pragma once

#include <windows.h>

#include "ui/image_ops.h"

// The PNG resource `id` decoded into an image that owns its pixels; null when the resource
// is missing. A picture that cannot be decoded gives an image whose status is not Ok.
ImagePtr LoadPngResource(HINSTANCE instance, int id);
