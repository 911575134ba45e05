#pragma once

#include "checksum/Algorithm.h"
#include "platform/FileReader.h"
#include "text/Messages.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace partwright {

// What a hashing run on a worker thread shares with the window's thread.
struct HashingState {
    std::atomic<std::uint64_t> done{0}; // bytes read and hashed so far
    std::atomic<bool> stop{false};      // set to end the run early
    std::atomic<bool> writerDone{true}; // false while another process still writes the file
};

// How a hashing run ended.
struct HashRun {
    enum class Result {
        Done,
        Stopped,
        Failed,           // a file could not be read
        AlgorithmMissing, // the algorithm cannot be computed here
    };
    Result result = Result::Done;
    std::vector<std::string> digests; // in small hexadecimal letters, one a checksum asked for
    std::uint64_t bytes = 0;          // read in all
    std::string failedFile;           // Failed: the file that could not be read
    messages::ErrorDetails error;     // Failed, AlgorithmMissing: why
};

// A file to hash on its own, with its algorithm.
struct HashedFile {
    std::string path;
    Algorithm algorithm = Algorithm::Crc32;
};

// One checksum a file, each file read from start to end.
HashRun HashEach(const std::vector<HashedFile>& files, HashingState& state);

// A stretch of a file with the checksum to compute over it.
struct HashedPiece {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    Algorithm algorithm = Algorithm::Crc32;
};

// Checksums over stretches of a file that another process may still be writing, from one read of
// it: behind the writer, and to the end once `state.writerDone` is set. The pieces may overlap (the
// whole image, and each part in its place); the digests come in the pieces' order, each over as
// much of its stretch as the file held, an empty one where the algorithm cannot be computed here
// (the result then says so).
HashRun HashPiecesWhileWritten(FileReader& file, const std::string& path,
                               const std::vector<HashedPiece>& pieces, HashingState& state);

} // namespace partwright
