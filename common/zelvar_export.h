// Symbol visibility for libzelvarandroidapi.so.
//
// The library is compiled with hidden visibility by default, so that the only names a native
// caller (or the JVM) can bind to are the ones marked ZELVAR_API.
#ifndef ZELVAR_COMMON_ZELVAR_EXPORT_H
#define ZELVAR_COMMON_ZELVAR_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define ZELVAR_API __attribute__((visibility("default")))
#else
#define ZELVAR_API
#endif

// Lines of text cross the library's interface as arrays of `long`, one 64-bit code point per
// element, as the Java side's long[] holds them. That holds on the 64-bit Android ABIs
// (arm64-v8a, x86_64) and not on the 32-bit ones, where long is 32 bits wide.
static_assert(sizeof(long) == 8,
              "libzelvarandroidapi needs a 64-bit long: build for arm64-v8a or x86_64, not for "
              "armeabi-v7a or x86");

#endif  // ZELVAR_COMMON_ZELVAR_EXPORT_H
