// SPDX-License-Identifier: Apache-2.0
// The native entry points driven through a JNI environment of the test's own, which can make any
// JNI call fail the way a JVM out of memory does, and can make any allocation of the call fail
// (tests/failing_new.cpp).
// The real JVM cannot be brought to those failures on demand; the JVM tests (java/test) cover the
// ordinary road. Expected values come from the library's own C++ interface.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "bidi/cfribidi.h"
#include "fontmgr/fntmngr.h"
#include "jni/jni_guard_internal.h"
#include "tests/test_util.h"
#include "zelvar_printer_api_android_nat_nativef.h"
#include "zelvar_printer_api_android_text_NativeDraw.h"

namespace {

// ---------------------------------------------------------------------------------------------
// A JNI environment with arrays of its own. It records what a checking JVM would complain about:
// calls made while an exception is pending (other than the releases and checks JNI allows then),
// elements released twice, with the wrong pointer or never.
struct FakeArray {
    enum Kind { kByte, kInt, kLong } kind;
    std::vector<jlong> values;  // every kind is kept widened
};

class FakeJvm {
  public:
    FakeJvm() {
        table_.GetArrayLength = [](JNIEnv*, jarray a) -> jsize {
            auto& jvm = Current();
            jvm.Call("GetArrayLength");
            return static_cast<jsize>(jvm.Array(a).values.size());
        };
        table_.GetByteArrayElements = [](JNIEnv*, jbyteArray a, jboolean* is_copy) -> jbyte* {
            return Current().Elements<jbyte>("GetByteArrayElements", a, is_copy);
        };
        table_.GetLongArrayElements = [](JNIEnv*, jlongArray a, jboolean* is_copy) -> jlong* {
            return Current().Elements<jlong>("GetLongArrayElements", a, is_copy);
        };
        table_.ReleaseByteArrayElements = [](JNIEnv*, jbyteArray a, jbyte* e, jint mode) {
            Current().Release<jbyte>("ReleaseByteArrayElements", a, e, mode);
        };
        table_.ReleaseLongArrayElements = [](JNIEnv*, jlongArray a, jlong* e, jint mode) {
            Current().Release<jlong>("ReleaseLongArrayElements", a, e, mode);
        };
        table_.NewByteArray = [](JNIEnv*, jsize n) -> jbyteArray {
            return static_cast<jbyteArray>(Current().NewArray("NewByteArray", FakeArray::kByte, n));
        };
        table_.SetByteArrayRegion = [](JNIEnv*, jbyteArray a, jsize start, jsize n,
                                       const jbyte* b) {
            Current().SetRegion("SetByteArrayRegion", a, start, n, b);
        };
        table_.NewIntArray = [](JNIEnv*, jsize n) -> jintArray {
            return static_cast<jintArray>(Current().NewArray("NewIntArray", FakeArray::kInt, n));
        };
        table_.NewLongArray = [](JNIEnv*, jsize n) -> jlongArray {
            return static_cast<jlongArray>(Current().NewArray("NewLongArray", FakeArray::kLong, n));
        };
        table_.SetIntArrayRegion = [](JNIEnv*, jintArray a, jsize start, jsize n, const jint* b) {
            Current().SetRegion("SetIntArrayRegion", a, start, n, b);
        };
        table_.SetLongArrayRegion = [](JNIEnv*, jlongArray a, jsize start, jsize n,
                                       const jlong* b) {
            Current().SetRegion("SetLongArrayRegion", a, start, n, b);
        };
        table_.ExceptionCheck = [](JNIEnv*) -> jboolean {
            return Current().pending.empty() ? JNI_FALSE : JNI_TRUE;
        };
        table_.FindClass = [](JNIEnv*, const char* name) -> jclass {
            auto& jvm = Current();
            jvm.Call("FindClass");
            testutil::NoAllocationFailure no_injection;
            jvm.classes_.push_back(name);
            return reinterpret_cast<jclass>(&jvm.classes_.back());
        };
        table_.ThrowNew = [](JNIEnv*, jclass c, const char* message) -> jint {
            auto& jvm = Current();
            jvm.Call("ThrowNew");
            testutil::NoAllocationFailure no_injection;
            jvm.pending = *reinterpret_cast<std::string*>(c);
            jvm.thrown.push_back(jvm.pending);
            jvm.messages.push_back(message != nullptr ? message : "");
            return 0;
        };
        env_.functions = &table_;
        current_ = this;
    }
    ~FakeJvm() { current_ = nullptr; }

    JNIEnv* env() { return &env_; }

    template <typename T>
    jarray Make(FakeArray::Kind kind, const std::vector<T>& values) {
        testutil::NoAllocationFailure no_injection;
        arrays_.push_back({kind, std::vector<jlong>(values.begin(), values.end())});
        return reinterpret_cast<jarray>(&arrays_.back());
    }
    std::vector<jlong> Values(jobject a) { return Array(a).values; }
    void ExpectClean() const {
        EXPECT_TRUE(taken_.empty()) << "array elements taken and never released";
        EXPECT_TRUE(violations.empty()) << violations.front();
    }

    // What the test asks of the environment, and what it saw.
    std::map<std::string, bool> fail;  // JNI function name -> fail like a JVM out of memory
    bool fail_silently = false;  // fail returning null with no exception pending, as HotSpot may
    std::string pending;         // class of the pending exception, empty when none
    std::vector<std::string> calls;
    std::vector<std::string> thrown;
    std::vector<std::string> messages;
    std::vector<jint> release_modes;
    std::vector<std::string> violations;

  private:
    static FakeJvm& Current() { return *current_; }

    void Call(const std::string& name) {
        testutil::NoAllocationFailure no_injection;
        calls.push_back(name);
        if (!pending.empty()) violations.push_back(name + " called with an exception pending");
    }
    FakeArray& Array(jobject a) {
        if (a == nullptr) {
            violations.push_back("null array reference");
            std::abort();
        }
        return *reinterpret_cast<FakeArray*>(a);
    }
    bool Fails(const std::string& name) {
        if (!fail[name]) return false;
        if (!fail_silently) pending = "java/lang/OutOfMemoryError (" + name + ")";
        return true;
    }
    template <typename T>
    T* Elements(const char* name, jarray a, jboolean* is_copy) {
        Call(name);
        testutil::NoAllocationFailure no_injection;
        if (is_copy != nullptr) violations.push_back(std::string(name) + " asked is-copy");
        if (Fails(name)) return nullptr;
        // Hand out a copy, as a JVM that cannot pin the array does.
        FakeArray& array = Array(a);
        T* elements = new T[array.values.size() + 1];
        for (std::size_t i = 0; i < array.values.size(); ++i) {
            elements[i] = static_cast<T>(array.values[i]);
        }
        taken_[elements] = &array;
        return elements;
    }
    template <typename T>
    void Release(const char* name, jarray a, T* elements, jint mode) {
        testutil::NoAllocationFailure no_injection;
        calls.push_back(name);  // allowed with an exception pending
        release_modes.push_back(mode);
        auto it = taken_.find(elements);
        if (it == taken_.end() || it->second != &Array(a)) {
            violations.push_back(std::string(name) + " of elements not taken from that array");
            return;
        }
        if (mode == 0 || mode == JNI_COMMIT) {
            for (std::size_t i = 0; i < it->second->values.size(); ++i) {
                it->second->values[i] = elements[i];
            }
        }
        if (mode != JNI_COMMIT) {
            delete[] elements;
            taken_.erase(it);
        }
    }
    jarray NewArray(const char* name, FakeArray::Kind kind, jsize n) {
        Call(name);
        if (n < 0) violations.push_back(std::string(name) + " of a negative length");
        if (Fails(name)) return nullptr;
        return Make(kind, std::vector<jlong>(static_cast<std::size_t>(n < 0 ? 0 : n)));
    }
    template <typename T>
    void SetRegion(const char* name, jarray a, jsize start, jsize n, const T* values) {
        Call(name);
        FakeArray& array = Array(a);
        if (start < 0 || n < 0 || static_cast<std::size_t>(start) + n > array.values.size()) {
            violations.push_back(std::string(name) + " out of bounds");
            return;
        }
        for (jsize i = 0; i < n; ++i) array.values[start + i] = values[i];
    }

    static FakeJvm* current_;
    JNINativeInterface_ table_{};
    JNIEnv env_{};
    std::deque<FakeArray> arrays_;
    std::deque<std::string> classes_;
    std::map<void*, FakeArray*> taken_;
};
FakeJvm* FakeJvm::current_ = nullptr;

std::vector<jbyte> Placement(std::initializer_list<int> bytes) {
    std::vector<jbyte> values;
    for (int b : bytes) values.push_back(static_cast<jbyte>(b));
    return values;
}

// The six bytes of a record, then bytes that no call may touch.
constexpr _SWFONTINFO kEmpty = SWFONT_EMPTY_PLACEMENT;
const std::vector<jbyte> kEmptyRecord =
    Placement({kEmpty.LeftMargin, kEmpty.RightMargin, kEmpty.TopMargin, kEmpty.BottomMargin,
               kEmpty.Overstrike, kEmpty.HJust, 0x5A, 0x61});

struct DrawRequest {
    int code_point, code_page, width, height;
};
const DrawRequest kDrawRequests[] = {
    {0x0627, 1256, 10, 24}, {0x0627, 864, 13, 24},  {0x0628, 1256, 18, 24}, {0x064E, 720, 10, 24},
    {0x0650, 1098, 13, 24}, {0x3099, 932, 10, 24},  {0x9FA6, 936, 24, 24},  {0x4DB6, 54936, 24, 24},
    {0x0041, 1256, 10, 24}, {0x0627, 1256, 24, 24}, {0x0627, 1256, 10, 23}, {0x0627, 437, 10, 24},
    {0x0627, 1256, 11, 24}, {-1, 1256, 10, 24},
};

jintArray Draw(FakeJvm& jvm, const DrawRequest& r, jobject placement) {
    return Java_zelvar_printer_api_android_nat_nativef_GetFontDrawBuffer(
        jvm.env(), nullptr, r.code_point, r.code_page, r.width, r.height,
        static_cast<jbyteArray>(placement));
}

// What the composition itself gives for a request: the bytes, and the record it leaves.
struct Composed {
    std::vector<jlong> sequence;
    std::vector<jbyte> placement;
};
Composed Compose(const DrawRequest& r, std::vector<jbyte> placement) {
    unsigned char buffer[128];
    _SWFONTINFO record{};
    std::memcpy(&record, placement.data(), sizeof(record));
    int status = CFntMngr::GetFontDrawBuffer(r.code_point, r.code_page, r.width, r.height, buffer,
                                             &record, SWFONT_JUSTIFICATION_NONE);
    Composed composed;
    if (status < 0) {
        composed.placement = placement;
        return composed;
    }
    composed.sequence.assign(buffer, buffer + status);
    std::memcpy(placement.data(), &record, sizeof(record));
    composed.placement = placement;
    return composed;
}

TEST(DrawEntry, GivesTheCompositionsBytesUnsignedAndCarriesTheRecord) {
    // A run through every request, the placement array carried from call to call as the Java
    // side carries it; refusals in the middle leave it as it was.
    FakeJvm jvm;
    std::vector<jbyte> carried = kEmptyRecord;
    jobject placement = jvm.Make(FakeArray::kByte, carried);
    int drawn = 0;
    for (const DrawRequest& r : kDrawRequests) {
        SCOPED_TRACE(r.code_point);
        Composed expected = Compose(r, carried);
        jintArray sequence = Draw(jvm, r, placement);
        ASSERT_NE(sequence, nullptr);
        EXPECT_EQ(jvm.Values(sequence), expected.sequence);
        std::vector<jlong> expected_placement(expected.placement.begin(), expected.placement.end());
        EXPECT_EQ(jvm.Values(placement), expected_placement);
        for (jlong b : jvm.Values(sequence)) EXPECT_TRUE(b >= 0 && b <= 255) << b;
        carried = expected.placement;
        drawn += expected.sequence.empty() ? 0 : 1;
    }
    EXPECT_GE(drawn, 6) << "the run drew characters, not only refusals";
    for (jint mode : jvm.release_modes) EXPECT_EQ(mode, 0);
    jvm.ExpectClean();
}

TEST(DrawEntry, NullPlacementComposesWithoutRecordAndTakesNoElements) {
    FakeJvm jvm;
    for (const DrawRequest& r : kDrawRequests) {
        unsigned char buffer[128];
        int status = CFntMngr::GetFontDrawBuffer(r.code_point, r.code_page, r.width, r.height,
                                                 buffer, nullptr, SWFONT_JUSTIFICATION_NONE);
        std::vector<jlong> expected;
        if (status > 0) expected.assign(buffer, buffer + status);
        jintArray sequence = Draw(jvm, r, nullptr);
        ASSERT_NE(sequence, nullptr);
        EXPECT_EQ(jvm.Values(sequence), expected);
    }
    for (const std::string& call : jvm.calls) {
        EXPECT_TRUE(call == "NewIntArray" || call == "SetIntArrayRegion") << call;
    }
    jvm.ExpectClean();
}

TEST(DrawEntry, ShortPlacementIsRefusedWithoutTakingElements) {
    for (std::size_t length = 0; length < 6; ++length) {
        FakeJvm jvm;
        std::vector<jbyte> bytes(kEmptyRecord.begin(), kEmptyRecord.begin() + length);
        jobject placement = jvm.Make(FakeArray::kByte, bytes);
        jintArray sequence = Draw(jvm, kDrawRequests[0], placement);
        ASSERT_NE(sequence, nullptr);
        EXPECT_TRUE(jvm.Values(sequence).empty());
        EXPECT_EQ(jvm.Values(placement), std::vector<jlong>(bytes.begin(), bytes.end()));
        EXPECT_EQ(jvm.calls, (std::vector<std::string>{"GetArrayLength", "NewIntArray"}));
        jvm.ExpectClean();
    }
}

TEST(ReverseEntry, GivesTheReorderingsLineUpToItsFirstZero) {
    const std::vector<std::vector<jlong>> lines = {
        {},
        {0x05D0, 0x05D1, 0x05D2},
        {0x05D0, 0x05D1, 0x20, 0x31, 0x32},
        {0x0628, 0x0628, 0x20, 0x0644, 0x0627},
        {'a', 'b', 0, 'c'},
        {0x05D0, 0, 0x05D1},
        {0x80000041L, 0x100000041L},
    };
    for (const auto& line : lines) {
        FakeJvm jvm;
        std::vector<long> copy(line.begin(), line.end());
        long* raw = nullptr;
        long count = CCFribidi::ReverseTextFixCharFribidi(copy.data(), copy.size(), &raw);
        std::vector<jlong> expected(raw, raw + count);
        delete[] raw;

        jobject text = jvm.Make(FakeArray::kLong, line);
        jlongArray visual = Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC(
            jvm.env(), nullptr, static_cast<jlongArray>(text));
        ASSERT_NE(visual, nullptr);
        EXPECT_EQ(jvm.Values(visual), expected);
        EXPECT_EQ(jvm.Values(text), line) << "the line passed in is unchanged";
        EXPECT_EQ(jvm.release_modes, std::vector<jint>{0});
        jvm.ExpectClean();
    }
}

TEST(ReverseEntry, NullLineIsAnEmptyLine) {
    FakeJvm jvm;
    jlongArray visual =
        Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC(jvm.env(), nullptr, nullptr);
    ASSERT_NE(visual, nullptr);
    EXPECT_TRUE(jvm.Values(visual).empty());
    EXPECT_EQ(jvm.calls, std::vector<std::string>{"NewLongArray"});
    jvm.ExpectClean();
}

TEST(QueryEntries, AnswerWhatTheFontManagerAnswersWithoutJniCalls) {
    FakeJvm jvm;
    const int code_points[] = {0x0627, 0x064E, 0x9FA6, 0x0041, -1, 0x10627};
    const int code_pages[] = {1256, 862, 20290, 437, 0};
    const int widths[] = {10, 13, 18, 24, 0, 11, 42, -10};
    const int heights[] = {24, 23, 25};
    int available = 0;
    for (int cp : code_points) {
        for (int page : code_pages) {
            for (int width : widths) {
                for (int height : heights) {
                    bool expected = CFntMngr::CharAvailable(cp, page, width, height);
                    available += expected ? 1 : 0;
                    EXPECT_EQ(Java_zelvar_printer_api_android_nat_nativef_CharAvailable(
                                  jvm.env(), nullptr, cp, page, width, height),
                              expected ? JNI_TRUE : JNI_FALSE);
                }
            }
        }
    }
    EXPECT_GT(available, 0);
    for (int width : {10, 13, 18, 24, 0, 9, 11, 25, 32, 42, -10, INT32_MIN}) {
        EXPECT_EQ(Java_zelvar_printer_api_android_nat_nativef_IsFontWidthSupported(jvm.env(),
                                                                                   nullptr, width),
                  CFntMngr::IsFontWidthSupported(width) ? JNI_TRUE : JNI_FALSE);
    }
    EXPECT_TRUE(jvm.calls.empty());
    jvm.ExpectClean();
}

// A JNI call that fails leaves its OutOfMemoryError pending: the entry point returns at once,
// gives back what it took, and raises nothing of its own over it. A call that fails with nothing
// pending (HotSpot's Get<Type>ArrayElements when it cannot allocate its copy) must still reach
// Java as an OutOfMemoryError naming what could not be had, never as null with no exception.
enum class Entry { kReverse, kDraw, kDrawJustified };
struct FailedJniCall {
    const char* failing;
    const char* what;  // named in the OutOfMemoryError raised when the JVM raised none
    Entry entry;
    DrawRequest request;  // for the drawing entry points
};
const FailedJniCall kFailedJniCalls[] = {
    {"GetLongArrayElements", "the line", Entry::kReverse, {}},
    {"NewLongArray", "reordered line", Entry::kReverse, {}},
    {"GetByteArrayElements", "placement array", Entry::kDraw, {0x0627, 1256, 10, 24}},
    {"NewIntArray", "command sequence", Entry::kDraw, {0x0627, 1256, 10, 24}},  // a sequence
    {"NewIntArray", "empty sequence", Entry::kDraw, {0x0627, 1256, 10, 23}},    // a refusal
    {"GetByteArrayElements", "placement array", Entry::kDrawJustified, {0x0627, 1256, 13, 24}},
    {"NewByteArray", "command sequence", Entry::kDrawJustified, {0x0627, 1256, 13, 24}},
    {"NewByteArray", "empty sequence", Entry::kDrawJustified, {0x0627, 1256, 13, 23}},
};

jobject CallEntry(FakeJvm& jvm, const FailedJniCall& c, jobject input) {
    switch (c.entry) {
        case Entry::kReverse:
            return Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC(
                jvm.env(), nullptr, static_cast<jlongArray>(input));
        case Entry::kDraw:
            return Draw(jvm, c.request, input);
        case Entry::kDrawJustified:
            return Java_zelvar_printer_api_android_text_NativeDraw_drawJustified(
                jvm.env(), nullptr, c.request.code_point, c.request.code_page, c.request.width,
                c.request.height, static_cast<jbyteArray>(input), SWFONT_JUSTIFICATION_LEFT);
    }
    return nullptr;
}

TEST(FailedJniCall, ReturnsAtOnceWithOutOfMemoryErrorPending) {
    for (const bool jvm_raises : {true, false}) {
        for (const FailedJniCall& c : kFailedJniCalls) {
            SCOPED_TRACE(std::string(c.failing) + (jvm_raises ? "" : " with nothing pending"));
            FakeJvm jvm;
            jvm.fail[c.failing] = true;
            jvm.fail_silently = !jvm_raises;
            const std::vector<jlong> line = {0x05D0, 0x05D1, 0x05D2};
            jobject input = c.entry == Entry::kReverse ? jvm.Make(FakeArray::kLong, line)
                                                       : jvm.Make(FakeArray::kByte, kEmptyRecord);
            const std::vector<jlong> before = jvm.Values(input);
            jobject result = CallEntry(jvm, c, input);
            EXPECT_EQ(result, nullptr);
            if (jvm_raises) {
                EXPECT_EQ(jvm.pending,
                          std::string("java/lang/OutOfMemoryError (") + c.failing + ")");
                EXPECT_TRUE(jvm.thrown.empty()) << "the JVM's own exception is kept";
            } else {
                EXPECT_EQ(jvm.thrown, std::vector<std::string>{"java/lang/OutOfMemoryError"});
                ASSERT_EQ(jvm.messages.size(), 1u);
                EXPECT_NE(jvm.messages[0].find(c.what), std::string::npos) << jvm.messages[0];
            }
            const std::string& last = jvm.calls.back();
            EXPECT_TRUE(last.rfind("Release", 0) == 0 || last == c.failing || last == "ThrowNew")
                << "nothing but releases after the failure: " << last;
            EXPECT_EQ(jvm.Values(input), before);
            jvm.ExpectClean();
        }
    }
}

// Running out of native memory at any allocation of a call: the call returns null or false with
// java.lang.OutOfMemoryError pending, every element taken is given back and the placement array
// keeps its bytes. The call arms the failure (Armed) around the entry point alone.
class Armed {
  public:
    explicit Armed(long nth) { testutil::FailNthAllocation(nth); }
    ~Armed() { testutil::StopFailing(); }
};

template <typename Call>
int FailEachAllocation(Call&& call) {
    int failures = 0;
    for (long nth = 1; nth < 1000; ++nth) {
        FakeJvm jvm;
        bool returned_value = call(jvm, nth);
        if (!testutil::AllocationFailed()) break;  // the call got through every allocation
        SCOPED_TRACE(nth);
        ++failures;
        EXPECT_FALSE(returned_value);
        EXPECT_EQ(jvm.thrown, std::vector<std::string>{"java/lang/OutOfMemoryError"});
        jvm.ExpectClean();
    }
    return failures;
}

TEST(OutOfNativeMemory, EveryAllocationOfEveryEntryPointBecomesOutOfMemoryError) {
    const std::vector<jlong> line = {0x05D0, 0x05D1, 0x20, 0x0628, 0x0628};
    EXPECT_GE(FailEachAllocation([&](FakeJvm& jvm, long nth) {
                  jobject text = jvm.Make(FakeArray::kLong, line);
                  jlongArray visual;
                  {
                      Armed armed(nth);
                      visual = Java_zelvar_printer_api_android_nat_nativef_ReverseTextRWC(
                          jvm.env(), nullptr, static_cast<jlongArray>(text));
                  }
                  bool ok = visual != nullptr;
                  EXPECT_EQ(jvm.Values(text), line);
                  return ok;
              }),
              3)
        << "work copy, reordering and result staging all allocate";

    for (const DrawRequest& r : {kDrawRequests[0], kDrawRequests[3], kDrawRequests[10]}) {
        EXPECT_GE(FailEachAllocation([&](FakeJvm& jvm, long nth) {
                      jobject placement = jvm.Make(FakeArray::kByte, kEmptyRecord);
                      jintArray sequence;
                      {
                          Armed armed(nth);
                          sequence = Draw(jvm, r, placement);
                      }
                      bool ok = sequence != nullptr;
                      if (!ok) {
                          EXPECT_EQ(jvm.Values(placement),
                                    std::vector<jlong>(kEmptyRecord.begin(), kEmptyRecord.end()));
                      }
                      return ok;
                  }),
                  1);
    }
    EXPECT_GE(FailEachAllocation([](FakeJvm& jvm, long nth) {
                  Armed armed(nth);
                  return Java_zelvar_printer_api_android_nat_nativef_CharAvailable(
                             jvm.env(), nullptr, 0x0627, 1256, 10, 24) == JNI_TRUE;
              }),
              1)
        << "the font's glyph copy allocates";
}

TEST(CxxExceptionGuard, TranslatesEveryExceptionIntoAPendingJavaException) {
    struct Case {
        void (*raise)();
        const char* java_class;
    };
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, "java/lang/OutOfMemoryError"},
        {[] { throw std::bad_array_new_length(); }, "java/lang/OutOfMemoryError"},
        {[] { throw std::length_error("vector"); }, "java/lang/OutOfMemoryError"},
        {[] { throw std::runtime_error("broken"); }, "java/lang/RuntimeException"},
        {[] { throw 42; }, "java/lang/RuntimeException"},
    };
    for (const Case& c : cases) {
        FakeJvm jvm;
        int result = zelvar_jni::CallWithoutCxxExceptions(jvm.env(), -7, [&]() -> int {
            c.raise();
            return 1;
        });
        EXPECT_EQ(result, -7);
        EXPECT_EQ(jvm.thrown, std::vector<std::string>{c.java_class});
        EXPECT_EQ(jvm.pending, c.java_class);
    }
    FakeJvm quiet;
    EXPECT_EQ(zelvar_jni::CallWithoutCxxExceptions(quiet.env(), -7, [] { return 3; }), 3);
    EXPECT_TRUE(quiet.calls.empty());

    // An exception already pending is the one the Java caller sees.
    FakeJvm busy;
    busy.pending = "java/lang/ArrayStoreException";
    zelvar_jni::CallWithoutCxxExceptions(busy.env(), 0, []() -> int { throw std::bad_alloc(); });
    EXPECT_EQ(busy.pending, "java/lang/ArrayStoreException");
    EXPECT_TRUE(busy.thrown.empty());
}

}  // namespace
