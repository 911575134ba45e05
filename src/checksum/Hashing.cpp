#include "checksum/Hashing.h"

#include "checksum/Digest.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace partwright {

namespace {

// Large enough that a read costs little, small enough to stay in the processor's cache while
// the checksum goes over it.
constexpr std::size_t kPiece = std::size_t{256} * 1024;
constexpr auto kWriterPause = std::chrono::milliseconds(2);

// Reads one file into `consume`, behind its writer until that has ended; false when asked to
// stop.
template <typename Consume>
bool Feed(FileReader& file, HashingState& state, std::vector<char>& buffer, std::uint64_t& bytes,
          Consume consume)
{
    for (;;) {
        if (state.stop)
            return false;
        const bool writerDone = state.writerDone; // before the read that finds the end
        const std::size_t got = file.read(buffer.data(), buffer.size());
        if (got > 0) {
            consume(buffer.data(), got);
            bytes += got;
            state.done = bytes;
        } else if (writerDone) {
            return true;
        } else {
            std::this_thread::sleep_for(kWriterPause);
        }
    }
}

class Run {
public:
    explicit Run(HashingState& state) : state_(state), buffer_(kPiece) {}

    // A digest of the algorithm, or nothing when it cannot be computed here.
    std::unique_ptr<Digest> digest(Algorithm algorithm)
    {
        try {
            return std::make_unique<Digest>(algorithm);
        } catch (const std::exception& error) {
            run_.result = HashRun::Result::AlgorithmMissing;
            run_.error = messages::DetailsOf(error);
            return nullptr;
        }
    }

    // False when the run ends here.
    template <typename Consume>
    bool feed(FileReader& file, const std::string& path, Consume consume)
    {
        try {
            if (Feed(file, state_, buffer_, run_.bytes, consume))
                return true;
            run_.result = HashRun::Result::Stopped;
        } catch (const std::exception& error) {
            fail(path, error);
        }
        return false;
    }

    bool feed(const std::string& path, Digest& digest)
    {
        std::optional<FileReader> file;
        try {
            file.emplace(path);
        } catch (const std::exception& error) {
            fail(path, error);
            return false;
        }
        return feed(*file, path,
                    [&digest](const char* data, std::size_t size) { digest.add(data, size); });
    }

    void finish(Digest& digest) { run_.digests.push_back(digest.hex()); }
    void finishMissing() { run_.digests.emplace_back(); }
    HashRun take() { return std::move(run_); }

private:
    void fail(const std::string& path, const std::exception& error)
    {
        run_.result = HashRun::Result::Failed;
        run_.failedFile = path;
        run_.error = messages::DetailsOf(error);
    }

    HashingState& state_;
    std::vector<char> buffer_;
    HashRun run_;
};

} // namespace

HashRun HashEach(const std::vector<HashedFile>& files, HashingState& state)
{
    Run run(state);
    for (const HashedFile& file : files) {
        const auto digest = run.digest(file.algorithm);
        if (!digest || !run.feed(file.path, *digest))
            break;
        run.finish(*digest);
    }
    return run.take();
}

HashRun HashPiecesWhileWritten(FileReader& file, const std::string& path,
                               const std::vector<HashedPiece>& pieces, HashingState& state)
{
    Run run(state);
    std::vector<std::unique_ptr<Digest>> digests; // none where the algorithm cannot be computed
    digests.reserve(pieces.size());
    for (const HashedPiece& piece : pieces)
        digests.push_back(run.digest(piece.algorithm));
    std::uint64_t position = 0; // of the data at hand in the file
    const auto consume = [&](const char* data, std::size_t size) {
        const std::uint64_t end = position + size;
        for (std::size_t i = 0; i < digests.size(); ++i) {
            if (!digests[i])
                continue;
            const std::uint64_t from = std::max(pieces[i].offset, position);
            const std::uint64_t to = std::min(pieces[i].offset + pieces[i].length, end);
            if (from < to)
                digests[i]->add(data + (from - position), static_cast<std::size_t>(to - from));
        }
        position = end;
    };
    const bool any =
        std::any_of(digests.begin(), digests.end(), [](const auto& d) { return d != nullptr; });
    if (!any || run.feed(file, path, consume))
        for (const auto& digest : digests)
            digest ? run.finish(*digest) : run.finishMissing();
    return run.take();
}

} // namespace partwright
