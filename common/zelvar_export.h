// SPDX-License-Identifier: Apache-2.0
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

#endif  // ZELVAR_COMMON_ZELVAR_EXPORT_H
