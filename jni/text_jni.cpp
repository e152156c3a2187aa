// SPDX-License-Identifier: Apache-2.0
// The native method of zelvar.printer.api.android.text.NativeDraw: one character drawn with the
// justification the caller asks for.
//
// The receipt encoder needs what nativef's GetFontDrawBuffer cannot give it: an isolated alef
// moved toward the next letter of its word, so that the two read as one word. The bytes go back
// as a Java byte array, ready to be written to the printer.

#include "common/zelvar_export.h"
#include "fontmgr/fntmngr.h"
#include "jni/draw_internal.h"
#include "jni/jni_guard_internal.h"
#include "zelvar_printer_api_android_text_NativeDraw.h"

namespace {

// Values outside the enumeration are taken as no justification.
_SWFONT_JUSTIFICATION JustificationOf(jint value) {
    switch (value) {
        case SWFONT_JUSTIFICATION_LEFT:
            return SWFONT_JUSTIFICATION_LEFT;
        case SWFONT_JUSTIFICATION_RIGHT:
            return SWFONT_JUSTIFICATION_RIGHT;
        default:
            return SWFONT_JUSTIFICATION_NONE;
    }
}

jbyteArray DrawJustified(JNIEnv* env, jint code_point, jint code_page, jint width, jint height,
                         jbyteArray placement, jint justification) {
    return zelvar_jni::DrawForJava<jbyteArray>(
        env, {code_point, code_page, width, height, JustificationOf(justification)}, placement,
        [env](jsize n) { return env->NewByteArray(n); },
        [env](jbyteArray sequence, const unsigned char* bytes, int n) {
            env->SetByteArrayRegion(sequence, 0, n, reinterpret_cast<const jbyte*>(bytes));
        });
}

}  // namespace

extern "C" {

ZELVAR_API JNIEXPORT jbyteArray JNICALL
Java_zelvar_printer_api_android_text_NativeDraw_drawJustified(JNIEnv* env, jclass, jint code_point,
                                                              jint code_page, jint width,
                                                              jint height, jbyteArray placement,
                                                              jint justification) {
    return zelvar_jni::CallWithoutCxxExceptions<jbyteArray>(env, nullptr, [&] {
        return DrawJustified(env, code_point, code_page, width, height, placement, justification);
    });
}

}  // extern "C"
