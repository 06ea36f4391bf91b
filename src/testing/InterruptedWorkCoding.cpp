#include "testing/InterruptedWorkCoding.h"

#include <algorithm>
#include <string_view>

#include "formats/StudentsList.h"
#include "storage/Checksums.h"

namespace oplix {
namespace {

constexpr std::string_view kMagic = "OPLIXPRZ";
constexpr std::size_t kHeaderSize = kMagic.size() + 2 + 4 + 4;
constexpr std::uint32_t kMaxTextSize = 64 * 1024;

class RecordWriter {
public:
    void Unsigned(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void Int(std::int64_t value) { Unsigned(static_cast<std::uint64_t>(value), 8); }
    void Flag(bool value) { Unsigned(value ? 1 : 0, 1); }
    void Text(std::string_view text) {
        Unsigned(text.size(), 4);
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    Bytes& bytes() { return bytes_; }

private:
    Bytes bytes_;
};

// Reads the payload front to back; any read past its end or out of range spoils the whole.
class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t Unsigned(int bytes) {
        if (bytes_.size() - position_ < static_cast<std::size_t>(bytes)) {
            intact_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= std::uint64_t{bytes_[position_++]} << (8 * i);
        }
        return value;
    }
    std::int64_t Int() { return static_cast<std::int64_t>(Unsigned(8)); }
    // An integer that must lie within [low, high].
    int IntIn(std::int64_t low, std::int64_t high) {
        const std::int64_t value = Int();
        if (value < low || value > high) {
            intact_ = false;
            return static_cast<int>(low);
        }
        return static_cast<int>(value);
    }
    bool Flag() {
        const std::uint64_t value = Unsigned(1);
        intact_ = intact_ && value <= 1;
        return value == 1;
    }
    std::string Text() {
        const std::uint64_t size = Unsigned(4);
        if (size > kMaxTextSize || bytes_.size() - position_ < size) {
            intact_ = false;
            return {};
        }
        std::string text(bytes_.begin() + static_cast<std::ptrdiff_t>(position_),
                         bytes_.begin() + static_cast<std::ptrdiff_t>(position_ + size));
        position_ += size;
        return text;
    }
    void Require(bool condition) { intact_ = intact_ && condition; }
    bool IntactAndWhole() const { return intact_ && position_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool intact_ = true;
};

bool IsOrder(std::string_view order) {
    return order.size() <= kMaxAnswers &&
           std::all_of(order.begin(), order.end(), [](char c) { return c >= '1' && c <= '5'; });
}

void WritePayload(const InterruptedWork& work, RecordWriter& out) {
    out.Text(work.testPath);
    out.Int(work.testFile.size);
    out.Int(work.testFile.modifiedNanoseconds);
    out.Unsigned(work.testFile.contentHash, 8);
    out.Text(work.testName);
    out.Int(static_cast<int>(work.mode));
    out.Text(work.surname);
    out.Text(work.firstName);
    out.Int(work.classIndex);
    out.Int(work.pupilIndex);
    out.Text(work.resultFolder);
    out.Int(work.timeLimit);
    out.Int(static_cast<int>(work.gradingSource));
    for (const int threshold : work.thresholds) {
        out.Int(threshold);
    }
    out.Int(work.answerCount);
    out.Int(static_cast<std::int64_t>(work.questions.size()));
    for (const QuestionWork& question : work.questions) {
        out.Text(question.order);
        out.Unsigned(question.chosen, 1);
    }
    out.Int(work.currentQuestion);
    out.Flag(work.hintShown);
    out.Int(work.elapsedMinutes);
    out.Int(work.startMilliseconds);
    out.Flag(work.finished);
    out.Flag(work.endedByTimer);
    out.Int(work.endMilliseconds);
    out.Int(work.savedMilliseconds);
}

void ReadPayload(RecordReader& in, InterruptedWork& work) {
    work.testPath = in.Text();
    work.testFile.size = in.Int();
    work.testFile.modifiedNanoseconds = in.Int();
    work.testFile.contentHash = in.Unsigned(8);
    work.testName = in.Text();
    work.mode = static_cast<StartMode>(in.IntIn(1, 4));
    work.surname = in.Text();
    work.firstName = in.Text();
    work.classIndex = in.IntIn(-1, kMaxClasses - 1);
    work.pupilIndex = in.IntIn(-1, kMaxPupils - 1);
    work.resultFolder = in.Text();
    work.timeLimit = in.IntIn(-1000000, 1000000);
    work.gradingSource = static_cast<GradingSource>(in.IntIn(1, 3));
    for (int& threshold : work.thresholds) {
        threshold = in.IntIn(-1000000, 1000000);
    }
    work.answerCount = in.IntIn(0, kMaxAnswers);
    work.questions.resize(static_cast<std::size_t>(in.IntIn(0, kMaxQuestions)));
    for (QuestionWork& question : work.questions) {
        question.order = in.Text();
        question.chosen = static_cast<std::uint8_t>(in.Unsigned(1));
        in.Require(IsOrder(question.order) && question.chosen < (1u << kMaxAnswers));
    }
    work.currentQuestion = in.IntIn(0, std::ssize(work.questions));
    work.hintShown = in.Flag();
    work.elapsedMinutes = in.IntIn(0, 1000000);
    work.startMilliseconds = in.Int();
    work.finished = in.Flag();
    work.endedByTimer = in.Flag();
    work.endMilliseconds = in.Int();
    work.savedMilliseconds = in.Int();
    in.Require(!work.testPath.empty());
}

}  // namespace

Bytes EncodeInterruptedWork(const InterruptedWork& work) {
    RecordWriter payload;
    WritePayload(work, payload);
    RecordWriter record;
    record.bytes().assign(kMagic.begin(), kMagic.end());
    record.Unsigned(kInterruptedWorkVersion, 2);
    record.Unsigned(payload.bytes().size(), 4);
    record.Unsigned(Crc32(payload.bytes()), 4);
    record.bytes().insert(record.bytes().end(), payload.bytes().begin(), payload.bytes().end());
    return std::move(record.bytes());
}

Result<InterruptedWork> DecodeInterruptedWork(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        return Error{0, "not a record of interrupted work"};
    }
    RecordReader header(bytes.subspan(kMagic.size(), kHeaderSize - kMagic.size()));
    const std::uint64_t version = header.Unsigned(2);
    const std::uint64_t length = header.Unsigned(4);
    const std::uint64_t checksum = header.Unsigned(4);
    if (version != kInterruptedWorkVersion) {
        return Error{0, "a record of another version: " + std::to_string(version)};
    }
    const std::span<const std::uint8_t> payload = bytes.subspan(kHeaderSize);
    if (payload.size() != length || Crc32(payload) != checksum) {
        return Error{0, "a damaged record"};
    }
    RecordReader in(payload);
    InterruptedWork work;
    ReadPayload(in, work);
    if (!in.IntactAndWhole()) {
        return Error{0, "a record with values out of range"};
    }
    return work;
}

}  // namespace oplix
