#include "checksum/Hashing.h"

#include "checksum/Digest.h"

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

// Reads one file into the digest, behind its writer until that has ended; false when asked to
// stop.
bool Feed(FileReader& file, Digest& digest, HashingState& state, std::vector<char>& buffer,
          std::uint64_t& bytes)
{
    for (;;) {
        if (state.stop)
            return false;
        const bool writerDone = state.writerDone; // before the read that finds the end
        const std::size_t got = file.read(buffer.data(), buffer.size());
        if (got > 0) {
            digest.add(buffer.data(), got);
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
    bool feed(FileReader& file, const std::string& path, Digest& digest)
    {
        try {
            if (Feed(file, digest, state_, buffer_, run_.bytes))
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
        return feed(*file, path, digest);
    }

    void finish(Digest& digest) { run_.digests.push_back(digest.hex()); }
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

HashRun HashWhileWritten(FileReader& file, const std::string& path, Algorithm algorithm,
                         HashingState& state)
{
    Run run(state);
    if (const auto digest = run.digest(algorithm); digest && run.feed(file, path, *digest))
        run.finish(*digest);
    return run.take();
}

} // namespace partwright
