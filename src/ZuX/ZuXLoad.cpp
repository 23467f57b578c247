#include "ZuXLoad.h"

#include "ZuXDocumentPrivate.h"
#include "ZuXName.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <iconv.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

void PugixmlFree::operator()(char* memory) const noexcept {
    pugi::get_memory_deallocation_function()(memory);
}

PugixmlBuffer NewPugixmlBuffer(std::size_t size) {
    return PugixmlBuffer(static_cast<char*>(pugi::get_memory_allocation_function()(size)));
}

static_assert(PUGIXML_VERSION == 1130, "the input's form is told as pugixml 1.13 tells it, and "
                                       "load_buffer_inplace_own keeps the text as the document's buffer");

namespace {

using Outcome = DecodedInput::Outcome;

constexpr std::size_t kEnd = static_cast<std::size_t>(-1);

// The forms pugixml tells by the first bytes, in the order it tries them: byte-order marks, then
// "<" as the first character. A null encoding is UTF-8, taken as it is.
struct Mark {
    unsigned char bytes[4];
    std::size_t length;
    const char* encoding;
};
constexpr Mark kMarks[] = {
    {{0x00, 0x00, 0xFE, 0xFF}, 4, "UTF-32BE"},
    {{0xFF, 0xFE, 0x00, 0x00}, 4, "UTF-32LE"},
    {{0xFE, 0xFF}, 2, "UTF-16BE"},
    {{0xFF, 0xFE}, 2, "UTF-16LE"},
    {{0xEF, 0xBB, 0xBF}, 3, nullptr},
    {{0x00, 0x00, 0x00, '<'}, 4, "UTF-32BE"},
    {{'<', 0x00, 0x00, 0x00}, 4, "UTF-32LE"},
    {{0x00, '<'}, 2, "UTF-16BE"},
    {{'<', 0x00}, 2, "UTF-16LE"},
};
// pugixml looks for them only in inputs of at least this size.
constexpr std::size_t kMarkedSize = 4;

// Output of a conversion that is only counted.
constexpr std::size_t kScratchSize = 4096;

constexpr std::size_t kNoConversion = static_cast<std::size_t>(-1);

bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The characters of an XML encoding name after its first letter: letters, digits, '.', '_', '-'.
bool IsNameCharacter(unsigned char c) {
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
}

// Where an XML declaration at the start of `data` names an encoding: [start, end) is the value
// of the encoding attribute, `end` its closing quote. False when there is none. As pugixml does,
// the declaration's first "en" is taken to start "encoding": the version before it holds none.
bool FindDeclaredEncoding(const unsigned char* data, std::size_t size, std::size_t& start, std::size_t& end) {
    if (size < 6 || std::memcmp(data, "<?xml", 5) != 0 || !IsSpace(data[5])) return false;
    std::size_t at = 6;
    while (at + 1 < size && data[at] != '?' && !(data[at] == 'e' && data[at + 1] == 'n')) ++at;
    if (size - at < 8 || std::memcmp(data + at, "encoding", 8) != 0) return false;
    at += 8;
    while (at < size && IsSpace(data[at])) ++at;
    if (at == size || data[at++] != '=') return false;
    while (at < size && IsSpace(data[at])) ++at;
    if (at == size || (data[at] != '"' && data[at] != '\'')) return false;
    const unsigned char quote = data[at++];
    start = at;
    while (at < size && data[at] != quote && data[at] != '?' && data[at] != '>') ++at;
    end = at;
    return at < size && data[at] == quote;
}

class CConversion {
public:
    explicit CConversion(const char* from) : m_cd(iconv_open("UTF-8", from)) {}
    ~CConversion() {
        if (Opened()) iconv_close(m_cd);
    }
    CConversion(const CConversion&) = delete;
    CConversion& operator=(const CConversion&) = delete;

    bool Opened() const { return reinterpret_cast<std::intptr_t>(m_cd) != -1; }

    // Converts all of `input` from the initial state into `out`, which holds `room` bytes, or
    // only counts the output when `out` is null. `produced` gets the output's size; on Invalid
    // or Incomplete, `offset` the input's first byte that could not be converted.
    Outcome Run(const char* input, std::size_t size, char* out, std::size_t room, std::size_t& produced,
                std::size_t& offset) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char scratch[kScratchSize];
        char* in = const_cast<char*>(input); // iconv's signature; it only reads the input
        std::size_t left = size;
        produced = 0;
        for (;;) {
            char* to = out ? out + produced : scratch;
            std::size_t free = out ? room - produced : sizeof scratch;
            char* const from = to;
            // Once the input is used up, a call without input ends a shift state.
            const bool ending = left == 0;
            const std::size_t done =
                ending ? iconv(m_cd, nullptr, nullptr, &to, &free) : iconv(m_cd, &in, &left, &to, &free);
            produced += static_cast<std::size_t>(to - from);
            if (done != kNoConversion) {
                if (ending) return Outcome::Done;
                continue;
            }
            if (errno == E2BIG && !out) continue;
            offset = static_cast<std::size_t>(in - input);
            if (errno == EILSEQ) return Outcome::Invalid;
            if (errno == EINVAL) return Outcome::Incomplete;
            return Outcome::OutOfMemory; // E2BIG into a buffer counted to fit: never seen
        }
    }

    // Whether the conversion gives `text`'s own bytes back: true for the ASCII of a declaration
    // in an encoding that holds ASCII as ASCII.
    bool KeepsAscii(const char* text, std::size_t size) {
        char out[kScratchSize];
        std::size_t produced = 0;
        std::size_t offset = 0;
        return size <= sizeof out && Run(text, size, out, sizeof out, produced, offset) == Outcome::Done &&
               produced == size && std::memcmp(out, text, size) == 0;
    }

private:
    iconv_t m_cd;
};

DecodedInput Failed(Outcome outcome) {
    DecodedInput result;
    result.outcome = outcome;
    return result;
}

// The input as it is: its own buffer, NUL-terminated.
DecodedInput AsItIs(PugixmlBuffer bytes, std::size_t size, InputForm form) {
    DecodedInput result;
    bytes.get()[size] = '\0';
    result.form = form;
    result.text = std::move(bytes);
    result.size = size + 1;
    return result;
}

// The input converted with `conversion`, from `encoding`: counted first, so that the text that
// pugixml keeps for the document's lifetime takes no more memory than it needs, and invalid input
// is found before anything is allocated.
DecodedInput Decode(CConversion& conversion, const char* encoding, const char* input, std::size_t size) {
    DecodedInput result;
    result.form = InputForm::Decoded;
    std::strncpy(result.encoding, encoding, sizeof result.encoding - 1);
    std::size_t counted = 0;
    result.outcome = conversion.Run(input, size, nullptr, 0, counted, result.offset);
    if (result.outcome != Outcome::Done) return result;
    PugixmlBuffer text;
    if (counted < SIZE_MAX) text = NewPugixmlBuffer(counted + 1);
    if (!text) return Failed(Outcome::OutOfMemory);
    std::size_t written = 0;
    result.outcome = conversion.Run(input, size, text.get(), counted, written, result.offset);
    if (result.outcome != Outcome::Done) return result;
    text.get()[written] = '\0';
    result.text = std::move(text);
    result.size = written + 1;
    return result;
}

// The input under the encoding its declaration names, or as it is.
DecodedInput DecodeDeclared(PugixmlBuffer bytes, std::size_t size) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.get());
    std::size_t start = 0;
    std::size_t end = 0;
    if (!FindDeclaredEncoding(data, size, start, end)) return AsItIs(std::move(bytes), size, InputForm::Utf8);
    // Not an encoding name (empty, longer than any iconv knows, or with characters no name has):
    // nothing to ask iconv about, and nothing to claim about the bytes.
    char name[sizeof DecodedInput().encoding] = {};
    const std::size_t length = end - start;
    if (length == 0 || length >= sizeof name || !IsLetter(data[start]) ||
        !std::all_of(data + start, data + end, IsNameCharacter))
        return AsItIs(std::move(bytes), size, InputForm::Undecoded);
    std::memcpy(name, data + start, length);
    if (strcasecmp(name, "UTF-8") == 0 || strcasecmp(name, "UTF8") == 0)
        return AsItIs(std::move(bytes), size, InputForm::Utf8);

    CConversion conversion(name);
    if (!conversion.Opened())
        return errno == EINVAL ? AsItIs(std::move(bytes), size, InputForm::Undecoded) : Failed(Outcome::OutOfMemory);
    // UTF-16 or UTF-32 declared over bytes that hold the declaration in ASCII: UTF-8.
    if (!conversion.KeepsAscii(bytes.get(), end + 1)) return AsItIs(std::move(bytes), size, InputForm::Utf8);
    return Decode(conversion, name, bytes.get(), size);
}

} // namespace

DecodedInput DecodeToUtf8(PugixmlBuffer bytes, std::size_t size) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.get());
    if (size < kMarkedSize) return AsItIs(std::move(bytes), size, InputForm::Utf8);
    for (const Mark& mark : kMarks) {
        if (std::memcmp(data, mark.bytes, mark.length) != 0) continue;
        // The mark is converted too: pugixml skips it in the UTF-8 text, and offsets count it, as
        // they do when pugixml decodes.
        if (!mark.encoding) return AsItIs(std::move(bytes), size, InputForm::Utf8);
        CConversion conversion(mark.encoding);
        if (!conversion.Opened()) return Failed(Outcome::OutOfMemory); // iconv knows these names
        return Decode(conversion, mark.encoding, bytes.get(), size);
    }
    return DecodeDeclared(std::move(bytes), size);
}

namespace {

class CDescriptor {
public:
    explicit CDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~CDescriptor() {
        if (m_descriptor >= 0) close(m_descriptor);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;

    int Get() const { return m_descriptor; }

private:
    int m_descriptor;
};

// The whole file, read as pugixml's load_file reads it, with its statuses: the size is the end's
// seek position (a pipe has none: a read error), and a file that cannot be opened is not found,
// whatever the reason. A directory is a read error: pugixml would take its seek position, which
// ext4 makes huge, as its size and fail for lack of memory. `status` describes the file read.
pugi::xml_parse_status ReadWholeFile(const std::string& path, PugixmlBuffer& bytes, std::size_t& size,
                                     struct stat& status) {
    // Not cut at a NUL: the file named by the part before it is not the file asked for.
    if (HoldsNul(path)) return pugi::status_file_not_found;
    const CDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return pugi::status_file_not_found;
    if (fstat(file.Get(), &status) != 0 || S_ISDIR(status.st_mode)) return pugi::status_io_error;
    const off_t end = lseek(file.Get(), 0, SEEK_END);
    if (end < 0 || lseek(file.Get(), 0, SEEK_SET) != 0) return pugi::status_io_error;
    if (static_cast<std::uintmax_t>(end) >= SIZE_MAX) return pugi::status_out_of_memory;
    size = static_cast<std::size_t>(end);
    bytes = NewPugixmlBuffer(size + 1);
    if (!bytes) return pugi::status_out_of_memory;
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = read(file.Get(), bytes.get() + done, std::min<std::size_t>(size - done, SSIZE_MAX));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return pugi::status_io_error;
        done += static_cast<std::size_t>(got);
    }
    return pugi::status_ok;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// A load that fails before pugixml parses: the tree is discarded, as pugixml discards it.
CZuError Refuse(CZuXDocumentPrivate& document, pugi::xml_parse_status status) {
    document.m_document.reset();
    pugi::xml_parse_result refused;
    refused.status = status;
    return CZuXDocumentPrivate::GetErrorFromParseResult(refused);
}

// Where a load failed, counted in its input, which `again(bytes, size)` reads once more: the text
// pugixml parsed in place is no longer the input. Only the first `decodable` bytes are decoded: a
// failed decoding ends where the error is. A load that failed for lack of memory has no place.
template <class Again>
void CountFailurePosition(CZuXSourcePositions& source, Again&& again, std::size_t decodable,
                          std::size_t offset) noexcept {
    try {
        if (!source.Counted()) {
            PugixmlBuffer bytes;
            std::size_t size = 0;
            if (!again(bytes, size)) return;
            const DecodedInput text = DecodeToUtf8(std::move(bytes), std::min(size, decodable));
            if (text.outcome != Outcome::Done) return;
            source.Count(text.text.get(), text.size);
        }
        source.FailedAt(offset);
    } catch (const std::bad_alloc&) {
    }
}

// Decodes the input and lets pugixml parse it. `again(bytes, size)` reads the input once more,
// for positions: the text that pugixml parses in place is no longer the input by the time they
// are counted.
template <class Again>
CZuError Parse(CZuXDocumentPrivate& document, PugixmlBuffer bytes, std::size_t size, const LoadRequest& request,
               Again&& again) {
    DecodedInput input = DecodeToUtf8(std::move(bytes), size);
    switch (input.outcome) {
    case Outcome::Done:
        break;
    case Outcome::OutOfMemory:
        return Refuse(document, pugi::status_out_of_memory);
    case Outcome::Invalid:
    case Outcome::Incomplete:
        document.m_document.reset();
        CountFailurePosition(document.m_source, again, input.offset, kEnd);
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(request.function), ZuWin32::InvalidData,
                                       "Error decoding, Encoding=[%s], Offset=[%lld], Description=[%s]", input.encoding,
                                       static_cast<long long>(input.offset),
                                       input.outcome == Outcome::Invalid ? "Invalid byte sequence"
                                                                         : "Incomplete character at the end");
    }
    document.m_source.Parsing(input.text.get(), input.size);
    document.m_keepsDeclaredEncoding = input.form == InputForm::Undecoded;
    try {
        if (request.countPositions) document.m_source.Count(input.text.get(), input.size);
    } catch (const std::bad_alloc&) {
        return Refuse(document, pugi::status_out_of_memory);
    }
    pugi::xml_parse_result parsed = document.m_document.load_buffer_inplace_own(input.text.release(), input.size,
                                                                                request.options, pugi::encoding_utf8);
    if (parsed.status != pugi::status_ok && parsed.status != pugi::status_out_of_memory)
        CountFailurePosition(document.m_source, again, size, static_cast<std::size_t>(parsed.offset));
    return CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
}

} // namespace

CZuError LoadDocumentFromString(CZuXDocumentPrivate& document, const std::string& xml, const LoadRequest& request) {
    document.WillLoad();
    // Up to the first NUL, as pugixml's load_string reads it; copied once, as load_string copies.
    const std::size_t size = std::strlen(xml.c_str());
    const auto copy = [&xml, size](PugixmlBuffer& bytes, std::size_t& copied) {
        bytes = NewPugixmlBuffer(size + 1);
        if (bytes) std::memcpy(bytes.get(), xml.data(), size);
        copied = size;
        return static_cast<bool>(bytes);
    };
    PugixmlBuffer bytes;
    std::size_t copied = 0;
    if (!copy(bytes, copied)) return Refuse(document, pugi::status_out_of_memory);
    return Parse(document, std::move(bytes), size, request, copy);
}

CZuError LoadDocumentFromFile(CZuXDocumentPrivate& document, const std::string& path, const LoadRequest& request) {
    document.WillLoad();
    PugixmlBuffer bytes;
    std::size_t size = 0;
    struct stat status {};
    const pugi::xml_parse_status read = ReadWholeFile(path, bytes, size, status);
    if (read != pugi::status_ok) return Refuse(document, read);
    if (S_ISREG(status.st_mode)) document.m_source.ReadAgainFrom(path, status);
    const auto reread = [&path](PugixmlBuffer& again, std::size_t& length) {
        struct stat ignored {};
        return ReadWholeFile(path, again, length, ignored) == pugi::status_ok;
    };
    return Parse(document, std::move(bytes), size, request, reread);
}

DecodedInput ReadFileAgain(const std::string& path, const struct stat& identity) {
    PugixmlBuffer bytes;
    std::size_t size = 0;
    struct stat status {};
    const pugi::xml_parse_status read = ReadWholeFile(path, bytes, size, status);
    if (read == pugi::status_out_of_memory) return Failed(Outcome::OutOfMemory);
    if (read != pugi::status_ok || !SameFile(status, identity)) return Failed(Outcome::Invalid);
    return DecodeToUtf8(std::move(bytes), size);
}
