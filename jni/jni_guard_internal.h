// SPDX-License-Identifier: Apache-2.0
// Internal helpers of the Java entry points: keeping C++ exceptions out of the JVM, and giving
// back Java array elements on every way out of a call.
//
// A C++ exception that unwinds into the JVM's own frames terminates the process, so every entry
// point runs its body through CallWithoutCxxExceptions, which turns the exception into a pending
// Java exception instead. Native buffers are owned by RAII holders, so they are released while
// the exception passes, before the Java exception is raised.
#ifndef ZELVAR_JNI_JNI_GUARD_INTERNAL_H
#define ZELVAR_JNI_JNI_GUARD_INTERNAL_H

#include <jni.h>

#include <exception>
#include <new>
#include <stdexcept>

namespace zelvar_jni {

constexpr const char kOutOfMemoryError[] = "java/lang/OutOfMemoryError";
constexpr const char kRuntimeException[] = "java/lang/RuntimeException";

// Raises a Java exception of the named class, unless one is already pending: the first failure is
// the one the Java caller should see. When the class cannot be found, FindClass has raised its own
// error, which is then left pending.
inline void ThrowJava(JNIEnv* env, const char* class_name, const char* message) noexcept {
    if (env->ExceptionCheck()) return;
    jclass exception_class = env->FindClass(class_name);
    if (exception_class == nullptr) return;
    env->ThrowNew(exception_class, message);
}

// A JNI call that returns null has failed. A JVM normally leaves an OutOfMemoryError pending, but
// some (HotSpot's Get<Type>ArrayElements when it cannot allocate its copy) return null with
// nothing pending; the Java caller would then see null with no exception. Raises the
// OutOfMemoryError, naming what could not be had, when nothing is pending, and returns `result`.
template <typename Pointer>
Pointer OutOfMemoryIfNull(JNIEnv* env, Pointer result, const char* what) noexcept {
    if (result == nullptr) ThrowJava(env, kOutOfMemoryError, what);
    return result;
}

// Runs body() and returns its result. A C++ exception leaving body() becomes a pending Java
// exception and on_exception is returned: running out of memory (std::bad_alloc and its kin
// std::bad_array_new_length, and std::length_error for a size too large to allocate) becomes
// java.lang.OutOfMemoryError, anything else java.lang.RuntimeException.
template <typename Result, typename Body>
Result CallWithoutCxxExceptions(JNIEnv* env, Result on_exception, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc& e) {
        ThrowJava(env, kOutOfMemoryError, e.what());
    } catch (const std::length_error& e) {
        ThrowJava(env, kOutOfMemoryError, e.what());
    } catch (const std::exception& e) {
        ThrowJava(env, kRuntimeException, e.what());
    } catch (...) {
        ThrowJava(env, kRuntimeException, "unexpected native failure");
    }
    return on_exception;
}

// The elements of a Java byte array, taken for the length of a scope and given back with mode 0
// (copied back into the array when the JVM handed out a copy, then freed) on every way out.
class ByteArrayElements {
  public:
    // Takes the elements of `array`; a null array takes nothing. get() is null when nothing was
    // taken, either because `array` is null or because the JVM could not provide the elements (an
    // OutOfMemoryError is then pending).
    ByteArrayElements(JNIEnv* env, jbyteArray array)
        : env_(env),
          array_(array),
          elements_(array != nullptr
                        ? OutOfMemoryIfNull(env, env->GetByteArrayElements(array, nullptr),
                                            "cannot copy the placement array")
                        : nullptr) {}
    ~ByteArrayElements() {
        if (elements_ != nullptr) env_->ReleaseByteArrayElements(array_, elements_, 0);
    }
    ByteArrayElements(const ByteArrayElements&) = delete;
    ByteArrayElements& operator=(const ByteArrayElements&) = delete;

    jbyte* get() const { return elements_; }

  private:
    JNIEnv* env_;
    jbyteArray array_;
    jbyte* elements_;
};

}  // namespace zelvar_jni

#endif  // ZELVAR_JNI_JNI_GUARD_INTERNAL_H
