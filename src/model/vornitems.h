#pragma once

// The printable item kinds, for code that handles all of them.
#include "vornbarcode.h"
#include "vornchart.h"
#include "vorndbbarcode.h"
#include "vorndbimage.h"
#include "vorndbtext.h"
#include "vornimage.h"
#include "vornshape.h"
#include "vorntext.h"
