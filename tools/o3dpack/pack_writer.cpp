// The pack writer of o3dpack: checks every input first (names, duplicates, counts, sizes) and the
// output (never one of the inputs; if it exists, a pack), then writes header, directory and data
// little-endian into a file of a fresh name beside the output and renames it into place, so a
// failed run never leaves a partial pack nor touches any other file.
#include "pack_writer.h"
#include "temp_file.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const int32_t kPackMagic = 2903;
const size_t kMaxEntries = 1024;
const size_t kNameBytes = 64;
const size_t kMaxNameChars = kNameBytes - 1; // the reader needs the terminator
const uint64_t kHeaderBytes = 8;
const uint64_t kEntryBytes = 72;
const uint64_t kMaxPackBytes = 0xFFFFFFFFull; // offsets and sizes are 32-bit
const size_t kCopyChunkBytes = 64 * 1024;

struct Input {
    std::string path;
    std::string name;
    uint64_t size;
    uint64_t offset;
};

} // namespace

static void putLe32(unsigned char *at, uint32_t value)
{
    for (int i = 0; i < 4; i++) {
        at[i] = (unsigned char)((value >> (8 * i)) & 0xFFu);
    }
}

static bool checkInputs(const std::vector<std::string> &files, std::vector<Input> &inputs,
                        std::string &error)
{
    if (files.empty()) {
        error = "no files to pack";
        return false;
    }
    if (files.size() > kMaxEntries) {
        error = "too many files: " + std::to_string(files.size()) + " (a pack holds at most " +
                std::to_string(kMaxEntries) + ")";
        return false;
    }
    std::set<std::string> names;
    uint64_t offset = kHeaderBytes + kEntryBytes * files.size();
    for (const std::string &path : files) {
        std::string name = fs::path(path).filename().string();
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) {
            error = "not a readable file: " + path;
            return false;
        }
        if (name.empty() || name.size() > kMaxNameChars) {
            error = "entry name '" + name + "' of " + path + " is longer than " +
                    std::to_string(kMaxNameChars) + " characters";
            return false;
        }
        if (!names.insert(name).second) {
            error = "two files named '" + name + "' (entries are named by base name)";
            return false;
        }
        uint64_t size = fs::file_size(path, ec);
        if (ec) {
            error = "cannot read the size of " + path;
            return false;
        }
        if (size > kMaxPackBytes || offset > kMaxPackBytes - size) {
            error = "the pack would exceed 4 GiB at " + path;
            return false;
        }
        inputs.push_back(Input{path, name, size, offset});
        offset += size;
    }
    return true;
}

// True if the file starts with the pack magic.
static bool startsLikeAPack(const std::string &path)
{
    unsigned char magic[4];
    FILE *in = fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    bool read = fread(magic, 1, sizeof magic, in) == sizeof magic;
    fclose(in);
    return read && magic[0] == (kPackMagic & 0xFF) && magic[1] == (kPackMagic >> 8) &&
           magic[2] == 0 && magic[3] == 0;
}

// An existing output is replaced only when it is a pack and none of the inputs: a forgotten
// output name would otherwise turn the first input into the pack.
static bool checkOutput(const std::string &outPath, const std::vector<Input> &inputs,
                        std::string &error)
{
    std::error_code ec;
    if (!fs::exists(outPath, ec)) {
        return true;
    }
    for (const Input &input : inputs) {
        if (fs::equivalent(outPath, input.path, ec)) {
            error = "the output " + outPath + " is also one of the inputs";
            return false;
        }
    }
    if (!fs::is_regular_file(outPath, ec) || !startsLikeAPack(outPath)) {
        error = outPath + " exists and is not a pack (the output comes first: o3dpack create " +
                "OUT FILE...)";
        return false;
    }
    return true;
}

static bool writeHeaderAndDirectory(FILE *out, const std::vector<Input> &inputs)
{
    unsigned char header[kHeaderBytes];
    putLe32(header, (uint32_t)kPackMagic);
    putLe32(header + 4, (uint32_t)inputs.size());
    if (fwrite(header, 1, sizeof header, out) != sizeof header) {
        return false;
    }
    for (const Input &input : inputs) {
        unsigned char entry[kEntryBytes] = {0};
        memcpy(entry, input.name.data(), input.name.size());
        putLe32(entry + kNameBytes, (uint32_t)input.size);
        putLe32(entry + kNameBytes + 4, (uint32_t)input.offset);
        if (fwrite(entry, 1, sizeof entry, out) != sizeof entry) {
            return false;
        }
    }
    return true;
}

// Copies one input whole; false if it can't be read or no longer has the size in the directory.
static bool copyData(FILE *out, const Input &input, std::vector<unsigned char> &chunk,
                     std::string &error)
{
    FILE *in = fopen(input.path.c_str(), "rb");
    if (in == nullptr) {
        error = "cannot open " + input.path;
        return false;
    }
    uint64_t copied = 0;
    size_t got = 0;
    bool ok = true;
    while (ok && (got = fread(chunk.data(), 1, chunk.size(), in)) > 0) {
        ok = fwrite(chunk.data(), 1, got, out) == got;
        copied += got;
    }
    if (!ok) {
        error = "cannot write the pack";
    } else if (ferror(in) || copied != input.size) {
        error = input.path + " could not be read whole (did it change while packing?)";
        ok = false;
    }
    fclose(in);
    return ok;
}

bool writePackFromFiles(const std::string &outPath, const std::vector<std::string> &files,
                        std::string &error)
{
    std::vector<Input> inputs;
    if (!checkInputs(files, inputs, error) || !checkOutput(outPath, inputs, error)) {
        return false;
    }
    std::string partPath;
    FILE *out = createUniqueFile(outPath + ".tmp", partPath);
    if (out == nullptr) {
        error = "cannot create a new file beside " + outPath;
        return false;
    }
    bool ok = writeHeaderAndDirectory(out, inputs);
    if (!ok) {
        error = "cannot write " + partPath;
    }
    std::vector<unsigned char> chunk(kCopyChunkBytes);
    for (size_t i = 0; ok && i < inputs.size(); i++) {
        ok = copyData(out, inputs[i], chunk, error);
    }
    // fflush on its own: some C libraries' fclose forgets a failure of its final flush.
    bool flushed = fflush(out) == 0;
    if ((fclose(out) != 0 || !flushed) && ok) {
        error = "cannot write " + partPath;
        ok = false;
    }
    std::error_code ec;
    if (ok) {
        fs::rename(partPath, outPath, ec);
        if (ec) {
            error = "cannot replace " + outPath + ": " + ec.message();
            ok = false;
        }
    }
    if (!ok) {
        fs::remove(partPath, ec);
    }
    return ok;
}
