#include "platform/ChildOutput_win.h"

#include "platform/WideText_win.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <sstream>
#include <thread>

namespace partwright {

namespace {

constexpr std::size_t kKeptLines = 20;
constexpr std::size_t kLongestKeptLine = 4096; // bytes; a longer line keeps its start
constexpr DWORD kPipeBuffer = 65536;
constexpr DWORD kLookEveryMilliseconds = 20;

std::wstring FromOemCodePage(const std::string& text)
{
    const int length = static_cast<int>(text.size());
    std::wstring wide(MultiByteToWideChar(CP_OEMCP, 0, text.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, text.data(), length, wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

std::wstring FromUtf16Bytes(const std::string& bytes)
{
    std::wstring wide(bytes.size() / 2, L'\0');
    std::copy_n(bytes.data(), wide.size() * 2, reinterpret_cast<char*>(wide.data()));
    return wide;
}

// The last lines a child printed, kept in its own encoding until they are asked for: UTF-16 from
// "cmd.exe /U", otherwise the code page its console starts with. Blank lines are left out: they
// would take the place of lines that say something.
class LastLines {
public:
    explicit LastLines(bool utf16) : utf16_(utf16) {}

    void add(std::string_view bytes)
    {
        for (const char byte : bytes) {
            // A UTF-16 line break is a whole unit: '\n' at an even place, then 0.
            const bool lineEnds =
                utf16_ ? byte == '\0' && previous_ == '\n' && lineLength_ % 2 == 1 : byte == '\n';
            if (line_.size() < kLongestKeptLine)
                line_ += byte;
            ++lineLength_;
            previous_ = byte;
            if (lineEnds)
                endLine();
        }
    }

    // UTF-8, with "\n" between the lines.
    std::string text()
    {
        endLine(); // the last one may end without a line break
        std::string text;
        for (const std::string& line : lines_)
            text += (text.empty() ? "" : "\n") +
                    Utf8(utf16_ ? FromUtf16Bytes(line) : FromOemCodePage(line));
        return text;
    }

private:
    void endLine()
    {
        const std::string unitRest = utf16_ ? std::string(1, '\0') : std::string();
        for (const char end : {'\n', '\r'}) {
            if (line_.ends_with(end + unitRest))
                line_.resize(line_.size() - 1 - unitRest.size());
        }
        if (!line_.empty())
            lines_.push_back(std::move(line_));
        if (lines_.size() > kKeptLines)
            lines_.pop_front();
        line_.clear();
        lineLength_ = 0;
        previous_ = 0;
    }

    bool utf16_;
    std::deque<std::string> lines_;
    std::string line_;
    std::size_t lineLength_ = 0; // all of it, though only the start is kept
    char previous_ = 0;
};

DWORD BytesWaitingIn(HANDLE pipe)
{
    DWORD waiting = 0;
    return PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) ? waiting : 0;
}

} // namespace

bool AsksForUtf16(const std::string& commandLine)
{
    std::istringstream words(commandLine);
    std::string word;
    words >> word; // the program's name
    while (words >> word && word.size() >= 2 && word[0] == '/') {
        const char option = static_cast<char>(std::toupper(static_cast<unsigned char>(word[1])));
        if (word.size() == 2 && (option == 'C' || option == 'K'))
            return false;
        if (word.size() == 2 && option == 'U')
            return true;
    }
    return false;
}

struct OutputReader::Impl {
public:
    explicit Impl(bool utf16) : lines_(utf16), buffer_(kPipeBuffer, '\0') {}

    ~Impl()
    {
        finish();
        CloseHandle(childEnd_);
        CloseHandle(pipe_);
        CloseHandle(stop_);
    }

    // 0 when it reads, otherwise the system's error code.
    DWORD start()
    {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        if (!CreatePipe(&pipe_, &childEnd_, &inheritable, kPipeBuffer) ||
            !SetHandleInformation(pipe_, HANDLE_FLAG_INHERIT, 0))
            return GetLastError();
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!stop_)
            return GetLastError();
        thread_ = std::thread([this] { run(); });
        return 0;
    }

    // The write end, inheritable, for the child to print into.
    HANDLE childEnd() const { return childEnd_; }

    // Once the child has its own copy, the pipe is the child's alone.
    void closeChildEnd()
    {
        CloseHandle(childEnd_);
        childEnd_ = nullptr;
    }

    std::string stop()
    {
        finish();
        return lines_.text();
    }

private:
    void run()
    {
        while (readSome(BytesWaitingIn(pipe_)) > 0 ||
               WaitForSingleObject(stop_, kLookEveryMilliseconds) == WAIT_TIMEOUT) {
        }
        for (DWORD left = BytesWaitingIn(pipe_); left > 0;) {
            const DWORD got = readSome(left);
            left = got > 0 ? left - got : 0;
        }
    }

    // Reads no more than the pipe holds, so the read never waits.
    DWORD readSome(DWORD most)
    {
        DWORD got = 0;
        most = std::min(most, static_cast<DWORD>(buffer_.size()));
        if (most == 0 || !ReadFile(pipe_, buffer_.data(), most, &got, nullptr))
            return 0;
        lines_.add(std::string_view(buffer_.data(), got));
        return got;
    }

    void finish()
    {
        if (!thread_.joinable())
            return;
        SetEvent(stop_);
        thread_.join();
    }

    HANDLE pipe_ = nullptr;
    HANDLE childEnd_ = nullptr;
    HANDLE stop_ = nullptr;
    LastLines lines_;
    std::string buffer_;
    std::thread thread_;
};

OutputReader::OutputReader(bool utf16) : d(std::make_unique<Impl>(utf16)) {}

OutputReader::~OutputReader() = default;

DWORD OutputReader::start()
{
    return d->start();
}

HANDLE OutputReader::childEnd() const
{
    return d->childEnd();
}

void OutputReader::closeChildEnd()
{
    d->closeChildEnd();
}

std::string OutputReader::stop()
{
    return d->stop();
}

} // namespace partwright
