#pragma once

/*
 * The call contract between the Vantel designer and a reporting engine.
 *
 * A reporting engine is a shared library named libvantel.so that lies in the
 * designer's own program folder. The designer loads it (resolving every
 * symbol at once), calls vntPreviewW exactly once for one run, and unloads it
 * as soon as that call returns. The header is plain C so that an engine can
 * be written in C or C++ without Qt.
 *
 * Strings: every string in both directions is UTF-16 in the machine's byte
 * order, terminated by a NUL code unit (the same encoding as the template
 * files, read as char16_t units).
 */

/* char16_t is a keyword in C++; C has it from <uchar.h>. */
#ifndef __cplusplus
#include <uchar.h>
#endif

/* Length in UTF-16 code units of the value buffer that the engine hands to the
   callback. The callback writes at most VNT_VALUE_CHARS - 1 units and a NUL,
   so a longer value arrives cut to that length. */
#define VNT_VALUE_CHARS 1024

/* Length in UTF-16 code units of the error buffer passed to vntPreviewW. The
   designer fills it with NULs before the call; an engine that fails writes at
   most VNT_ERROR_CHARS - 1 units of its message and a NUL. */
#define VNT_ERROR_CHARS 1024

/* The name under which the engine exports its entry. */
#define VNT_PREVIEW_ENTRY "vntPreviewW"

/* Engines mark their entry with this so that it stays visible when the
   library is built with hidden symbols. */
#if defined(__GNUC__)
#define VNT_EXPORT __attribute__((visibility("default")))
#else
#define VNT_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Answers the value of one report parameter while vntPreviewW runs; the
 * engine may call it any number of times, from the thread that called
 * vntPreviewW, and only during that call.
 *
 *   band     name of the band whose query holds the parameter
 *   name     the parameter's name, the text written between the braces
 *   value    a buffer of at least VNT_VALUE_CHARS units owned by the engine
 *   context  the context argument that vntPreviewW received, unchanged
 *
 * Band and name are compared without regard to letter case. When the
 * parameter is known and its value is not empty, the value is written into
 * the buffer, cut to VNT_VALUE_CHARS - 1 units, with a terminating NUL. When
 * the parameter is unknown or its value is empty the buffer is left exactly
 * as the engine passed it, so the engine should set its own default there
 * first. The result is always 1.
 */
typedef int (*VntValueCallback)(const char16_t *band, const char16_t *name, char16_t *value,
                                void *context);

/*
 * The engine's entry, exported by the name VNT_PREVIEW_ENTRY.
 *
 *   reportPath  full path of the saved report template, whatever its length
 *   callback    asks the designer for parameter values (above)
 *   context     opaque; hand it back unchanged as the callback's last argument
 *   errorText   a buffer of VNT_ERROR_CHARS units, all NUL on entry
 *
 * The call blocks: it returns only when the engine has finished all its work,
 * its preview window included, because the library is unloaded right after.
 * The result is non-zero when the run succeeded. Zero means it failed; the
 * engine then writes a NUL-terminated message into errorText, which the
 * designer shows to the user (an empty message is reported as a failure
 * without a reason).
 */
typedef int (*VntPreviewFunc)(const char16_t *reportPath, VntValueCallback callback, void *context,
                              char16_t *errorText);

/* The entry as an engine defines it. */
VNT_EXPORT int vntPreviewW(const char16_t *reportPath, VntValueCallback callback, void *context,
                           char16_t *errorText);

#ifdef __cplusplus
}
#endif
