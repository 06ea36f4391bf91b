#include "app/Journal.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "storage/Cp1250.h"

namespace oplix {
namespace {

const SystemClock& TheSystemClock() {
    static const SystemClock clock;
    return clock;
}

// What the journal's last line lacks of its end, so that the next line starts on a line of its
// own: nothing for an empty journal or one that ends in a line feed.
std::string LineEndMissingAtEnd(int fd, const std::string& path) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        return {};
    }
    const int reader = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader < 0) {
        return {};
    }
    char last = '\n';
    const ssize_t got = pread(reader, &last, 1, info.st_size - 1);
    close(reader);
    if (got != 1 || last == '\n') {
        return {};
    }
    return last == '\r' ? "\n" : "\r\n";
}

// A write may take only part of the line (a signal, a pipe); the rest follows. False when the
// bytes could not all be written.
bool WriteWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool IsUtf8Codeset(const char* codeset) {
    return codeset != nullptr &&
           (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

}  // namespace

// The short date and long time as the user's locale (LC_ALL, LC_TIME, LANG ...) writes them,
// or as the C locale does when the user's cannot be made.
class JournalTimeFormat {
public:
    JournalTimeFormat() : locale_(newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0))) {
        if (locale_ == static_cast<locale_t>(0)) {
            locale_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        }
        utf8_ = IsValid() && IsUtf8Codeset(nl_langinfo_l(CODESET, locale_));
    }
    ~JournalTimeFormat() {
        if (IsValid()) {
            freelocale(locale_);
        }
    }
    JournalTimeFormat(const JournalTimeFormat&) = delete;
    JournalTimeFormat& operator=(const JournalTimeFormat&) = delete;

    // The short date and the long time, in UTF-8.
    std::string Date(std::time_t moment) const { return ToUtf8(Format("%x", moment)); }
    std::string Time(std::time_t moment) const { return ToUtf8(Format("%X", moment)); }

private:
    bool IsValid() const { return locale_ != static_cast<locale_t>(0); }

    std::string Format(const char* format, std::time_t moment) const {
        std::tm when{};
        localtime_r(&moment, &when);
        char buffer[128];
        const std::size_t length = IsValid()
                                       ? strftime_l(buffer, sizeof buffer, format, &when, locale_)
                                       : std::strftime(buffer, sizeof buffer, format, &when);
        return std::string(buffer, length);
    }

    // strftime's text is in the locale's multibyte encoding. Of encodings other than UTF-8 only
    // the ASCII part is understood.
    std::string ToUtf8(std::string text) const {
        if (!utf8_) {
            for (char& ch : text) {
                if (static_cast<unsigned char>(ch) >= 0x80) {
                    ch = '?';
                }
            }
        }
        return text;
    }

    locale_t locale_;
    bool utf8_ = false;
};

std::string JournalDate(std::time_t moment) {
    return JournalTimeFormat().Date(moment);
}

std::string JournalTime(std::time_t moment) {
    return JournalTimeFormat().Time(moment);
}

Journal::Journal() : clock_(&TheSystemClock()) {}

Journal::Journal(const Clock& clock) : clock_(&clock) {}

void Journal::SetFile(std::string path) {
    path_ = std::move(path);
    endsWithWholeLine_ = false;
}

void Journal::SetLevel(int level) {
    level_ = level;
}

void Journal::Write(int level, std::string_view message) {
    if (path_.empty() || level > level_) {
        return;
    }
    if (!timeFormat_) {
        timeFormat_ = std::make_shared<const JournalTimeFormat>();
    }
    const std::time_t now = clock_->Now();
    const std::string line = Utf8ToCp1250(std::string(message) + " - " + timeFormat_->Date(now) +
                                          " " + timeFormat_->Time(now)) +
                             "\r\n";
    // One O_APPEND write per line: concurrent writers never interleave or lose a line, and a
    // crash leaves every earlier line in place.
    const int fd = open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    const std::string lineEnd = endsWithWholeLine_ ? std::string() : LineEndMissingAtEnd(fd, path_);
    endsWithWholeLine_ = WriteWhole(fd, lineEnd + line);
    close(fd);
}

}  // namespace oplix
