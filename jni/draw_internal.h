// SPDX-License-Identifier: Apache-2.0
// Internal to jni/: the drawing of one character for the Java side, shared by nativef's
// GetFontDrawBuffer (int[] of unsigned byte values, no justification) and NativeDraw's
// drawJustified (byte[], any justification).
//
// The placement array's first six bytes are the record passed to the composition and, on
// success, replaced by the record for the next character; later bytes are never touched. A
// placement array shorter than the record, and every refusal of the composition, give an empty
// array with the placement array unchanged. A JNI call that fails returns null at once with an
// OutOfMemoryError pending.
#ifndef ZELVAR_JNI_DRAW_INTERNAL_H
#define ZELVAR_JNI_DRAW_INTERNAL_H

#include <jni.h>

#include <cstring>
#include <memory>

#include "fontmgr/fntmngr.h"
#include "jni/jni_guard_internal.h"

namespace zelvar_jni {

// The composition is handed this much room; its longest sequence is SWFONT_MAX_SEQUENCE bytes.
constexpr int kDrawBufferBytes = 128;
static_assert(SWFONT_MAX_SEQUENCE <= kDrawBufferBytes, "the draw buffer holds every sequence");

struct DrawRequest {
    jint code_point, code_page, width, height;
    _SWFONT_JUSTIFICATION justification;
};

// new_array(n) creates the Java array of n elements (null on failure); fill(array, bytes, n)
// stores the sequence in it.
template <typename Array, typename NewArray, typename Fill>
Array DrawForJava(JNIEnv* env, const DrawRequest& r, jbyteArray placement, NewArray new_array,
                  Fill fill) {
    if (placement != nullptr &&
        env->GetArrayLength(placement) < static_cast<jsize>(sizeof(_SWFONTINFO))) {
        return OutOfMemoryIfNull(env, new_array(0), "cannot create an empty sequence");
    }

    ByteArrayElements elements(env, placement);
    if (placement != nullptr && elements.get() == nullptr) return nullptr;  // OOM pending

    _SWFONTINFO record{};
    _SWFONTINFO* record_passed = nullptr;
    if (elements.get() != nullptr) {
        // Bytes are carried unchanged: a Java byte of -1 is the record's 255.
        std::memcpy(&record, elements.get(), sizeof(record));
        record_passed = &record;
    }

    std::unique_ptr<unsigned char[]> draw_buffer(new unsigned char[kDrawBufferBytes]);
    const int status =
        CFntMngr::GetFontDrawBuffer(r.code_point, r.code_page, r.width, r.height, draw_buffer.get(),
                                    record_passed, r.justification);
    // The elements go back unwritten: the placement array keeps its bytes.
    if (status < 0) return OutOfMemoryIfNull(env, new_array(0), "cannot create an empty sequence");

    Array sequence = OutOfMemoryIfNull(env, new_array(status),
                                       "cannot create the array of the command sequence");
    if (sequence == nullptr) return nullptr;  // OOM pending; placement array unchanged
    fill(sequence, draw_buffer.get(), status);

    // The record for the next character goes back into bytes 0 to 5; the elements are copied
    // into the Java array when they are released.
    if (record_passed != nullptr) std::memcpy(elements.get(), &record, sizeof(record));
    return sequence;
}

}  // namespace zelvar_jni

#endif  // ZELVAR_JNI_DRAW_INTERNAL_H
