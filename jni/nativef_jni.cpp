// SPDX-License-Identifier: Apache-2.0
// The four native methods of zelvar.printer.api.android.nat.nativef.
//
// Each method copies its Java arrays into buffers of its own, calls the reordering, the
// composition of a draw buffer or a capability query, and hands the result back in a new Java
// array. Nothing survives a call: native buffers are released before it returns, array elements
// are given back with mode 0, and only the new Java arrays outlive it.
//
// Inputs the Java side should not pass but may (a null line, a placement array shorter than the
// record), and JNI calls that fail (the JVM is out of memory), end the call in an orderly way: a
// refusal for bad inputs, and for a failed JNI call an immediate return with an OutOfMemoryError
// pending for the Java caller (the JVM's own, or one raised here when the JVM raised none). C++
// exceptions never reach the JVM (jni_guard_internal.h).

#include <cstring>
#include <memory>
#include <type_traits>

#include "bidi/cfribidi.h"
#include "common/zelvar_export.h"
#include "fontmgr/fntmngr.h"
#include "jni/draw_internal.h"
#include "jni/jni_guard_internal.h"
#include "zelvar_printer_api_android_nat_nativef.h"

namespace {

using zelvar_jni::CallWithoutCxxExceptions;
using zelvar_jni::OutOfMemoryIfNull;

// The Java class and the composition agree on the size of the placement record.
constexpr jsize kPlacementRecordBytes =
    zelvar_printer_api_android_nat_nativef_PLACEMENT_RECORD_BYTES;
static_assert(kPlacementRecordBytes == sizeof(_SWFONTINFO),
              "the Java placement array carries exactly the bytes of the placement record");

static_assert(std::is_same<jlong, long>::value, "the reordering takes code points as 64-bit longs");

jlongArray ReverseText(JNIEnv* env, jlongArray text) {
    // A null line is taken as an empty one.
    if (text == nullptr) {
        return OutOfMemoryIfNull(env, env->NewLongArray(0), "cannot create an empty line");
    }

    const jsize length = env->GetArrayLength(text);
    const auto count = static_cast<unsigned long>(length);
    std::unique_ptr<long[]> line(new long[count]);

    jlong* elements = OutOfMemoryIfNull(env, env->GetLongArrayElements(text, nullptr),
                                        "cannot copy the line to reorder");
    if (elements == nullptr) return nullptr;  // OutOfMemoryError pending
    if (count != 0) std::memcpy(line.get(), elements, count * sizeof(long));
    // Nothing was written into the elements: the Java array keeps its contents.
    env->ReleaseLongArrayElements(text, elements, 0);

    long* reordered_raw = nullptr;
    const auto visual_count =
        static_cast<jsize>(CCFribidi::ReverseTextFixCharFribidi(line.get(), count, &reordered_raw));
    std::unique_ptr<long[]> reordered(reordered_raw);
    line.reset();
    if (reordered == nullptr) {  // nothing was handed back
        return OutOfMemoryIfNull(env, env->NewLongArray(0), "cannot create an empty line");
    }

    // The visual line ends before the first zero element of the reordering's result. jlong and
    // long are the same 64-bit type, so the result goes into the Java array as it is, without a
    // staging copy.
    jlongArray visual = OutOfMemoryIfNull(env, env->NewLongArray(visual_count),
                                          "cannot create the array of the reordered line");
    if (visual == nullptr) return nullptr;  // OutOfMemoryError pending
    env->SetLongArrayRegion(visual, 0, visual_count, reordered.get());
    return visual;
}

jintArray DrawCharacter(JNIEnv* env, jint code_point, jint code_page, jint width, jint height,
                        jbyteArray placement) {
    return zelvar_jni::DrawForJava<jintArray>(
        env, {code_point, code_page, width, height, SWFONT_JUSTIFICATION_NONE}, placement,
        [env](jsize n) { return env->NewIntArray(n); },
        [env](jintArray sequence, const unsigned char* bytes, int n) {
            // The printer's bytes go to Java as unsigned values 0 to 255, never as negative bytes.
            std::unique_ptr<jint[]> staging(new jint[static_cast<unsigned long>(n)]);
            for (int i = 0; i < n; ++i) staging[i] = bytes[i];
            env->SetIntArrayRegion(sequence, 0, n, staging.get());
        });
}

}  // namespace

extern "C" {

ZELVAR_API JNIEXPORT jlongArray JNICALL
Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC(JNIEnv* env, jclass, jlongArray text) {
    return CallWithoutCxxExceptions<jlongArray>(env, nullptr,
                                                [&] { return ReverseText(env, text); });
}

ZELVAR_API JNIEXPORT jboolean JNICALL Java_zelvar_printer_api_android_nat_nativef_CharAvailable(
    JNIEnv* env, jclass, jint code_point, jint code_page, jint width, jint height) {
    return CallWithoutCxxExceptions<jboolean>(env, JNI_FALSE, [&]() -> jboolean {
        return CFntMngr::CharAvailable(code_point, code_page, width, height) ? JNI_TRUE : JNI_FALSE;
    });
}

ZELVAR_API JNIEXPORT jintArray JNICALL
Java_zelvar_printer_api_android_nat_nativef_GetFontDrawBuffer(JNIEnv* env, jclass, jint code_point,
                                                              jint code_page, jint width,
                                                              jint height, jbyteArray placement) {
    return CallWithoutCxxExceptions<jintArray>(env, nullptr, [&] {
        return DrawCharacter(env, code_point, code_page, width, height, placement);
    });
}

ZELVAR_API JNIEXPORT jboolean JNICALL
Java_zelvar_printer_api_android_nat_nativef_IsFontWidthSupported(JNIEnv* env, jclass, jint width) {
    return CallWithoutCxxExceptions<jboolean>(env, JNI_FALSE, [&]() -> jboolean {
        return CFntMngr::IsFontWidthSupported(width) ? JNI_TRUE : JNI_FALSE;
    });
}

}  // extern "C"
