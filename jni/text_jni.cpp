// The native method of zelvar.printer.api.android.text.NativeDraw: one character drawn with the
// justification the caller asks for.
//
// The receipt encoder needs what nativef's GetFontDrawBuffer cannot give it: an isolated alef
// moved toward the next letter of its word, so that the two read as one word. The bytes go back
// as a Java byte array, ready to be written to the printer.

#include <cstring>

#include "common/zelvar_export.h"
#include "fontmgr/fntmngr.h"
#include "jni/jni_guard.h"
#include "zelvar_printer_api_android_text_NativeDraw.h"

namespace {

using zelvar_jni::ByteArrayElements;
using zelvar_jni::CallWithoutCxxExceptions;

constexpr jsize kPlacementRecordBytes = static_cast<jsize>(sizeof(_SWFONTINFO));
constexpr int kDrawBufferBytes = 128;
static_assert(SWFONT_MAX_SEQUENCE <= kDrawBufferBytes, "the draw buffer holds every sequence");

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
    // A placement array too short for the record is refused: an empty result, the array untouched.
    if (placement != nullptr && env->GetArrayLength(placement) < kPlacementRecordBytes) {
        return env->NewByteArray(0);
    }
    ByteArrayElements elements(env, placement);
    if (placement != nullptr && elements.get() == nullptr) return nullptr;  // OOM pending

    _SWFONTINFO record{};
    _SWFONTINFO* record_passed = nullptr;
    if (elements.get() != nullptr) {
        std::memcpy(&record, elements.get(), sizeof(record));
        record_passed = &record;
    }

    unsigned char draw_buffer[kDrawBufferBytes];
    const int status =
        CFntMngr::GetFontDrawBuffer(code_point, code_page, width, height, draw_buffer,
                                    record_passed, JustificationOf(justification));
    // Every refusal: an empty array, and the placement array keeps its bytes.
    if (status < 0) return env->NewByteArray(0);

    jbyteArray sequence = env->NewByteArray(status);
    if (sequence == nullptr) return nullptr;  // OOM pending; placement array unchanged
    env->SetByteArrayRegion(sequence, 0, status, reinterpret_cast<const jbyte*>(draw_buffer));
    if (record_passed != nullptr) std::memcpy(elements.get(), &record, sizeof(record));
    return sequence;
}

}  // namespace

extern "C" {

ZELVAR_API JNIEXPORT jbyteArray JNICALL
Java_zelvar_printer_api_android_text_NativeDraw_drawJustified(JNIEnv* env, jclass, jint code_point,
                                                              jint code_page, jint width,
                                                              jint height, jbyteArray placement,
                                                              jint justification) {
    return CallWithoutCxxExceptions<jbyteArray>(env, nullptr, [&] {
        return DrawJustified(env, code_point, code_page, width, height, placement, justification);
    });
}

}  // extern "C"
