#include "session/RecoveryFile.h"

#include "rules/Conversions.h"
#include "session/CharacterFileFields.h"

#include <algorithm>
#include <new>

namespace vorn {
namespace {

using characterfile::inQuotes;
using Json = nlohmann::json;

constexpr const char* kFormatName = "VORN recovery";
constexpr int64_t kVersion = 1;
// How every recovery file this calculator writes begins; a first line that breaks off after it was one.
constexpr std::string_view kBeginning = R"({"format": "VORN recovery")";

struct Damage {
    std::string why;
};

[[noreturn]] void damaged(std::string why)
{
    throw Damage{std::move(why)};
}

bool isDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view digits)
{
    int n = 0;
    for (const char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// "2026-12-08T18:30:05Z", each part in its range (a leap second included).
bool isUtcTime(std::string_view t)
{
    if (t.size() != 20 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':' ||
        t[19] != 'Z')
        return false;
    const std::string_view parts[] = {t.substr(0, 4),  t.substr(5, 2),  t.substr(8, 2),
                                      t.substr(11, 2), t.substr(14, 2), t.substr(17, 2)};
    if (!std::all_of(std::begin(parts), std::end(parts), isDigits))
        return false;
    const int month = number(parts[1]);
    const int day = number(parts[2]);
    return number(parts[0]) >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
           number(parts[3]) <= 23 && number(parts[4]) <= 59 && number(parts[5]) <= 60;
}

bool isSha256(std::string_view hex)
{
    return hex.size() == 64 && std::all_of(hex.begin(), hex.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

const Json& field(const Json& header, const char* name)
{
    const auto found = header.find(name);
    if (found == header.end())
        damaged(std::string("it has no \"") + name + "\"");
    return *found;
}

// The first line's fields, checked; the state is read afterwards from the rest.
RecoveryRecord checkHeader(const Json& header)
{
    RecoveryRecord r;
    const Json& written = field(header, "written");
    if (!written.is_string() || !isUtcTime(written.get_ref<const std::string&>()))
        damaged("\"written\" must be a time written as 2026-12-08T18:30:05Z");
    r.written = written.get<std::string>();
    const Json& file = field(header, "file");
    if (file.is_string() && !file.get_ref<const std::string&>().empty())
        r.file = file.get<std::string>();
    else if (!file.is_null())
        damaged("\"file\" must be the name of a file, or null");
    const Json& size = field(header, "fileSize");
    if (!size.is_number_integer() || size.get<int64_t>() < (r.file ? 0 : -1) ||
        (!r.file && size.get<int64_t>() != -1))
        damaged(r.file ? "\"fileSize\" must be a whole number of 0 or more" : "\"fileSize\" must be -1");
    r.fileSize = size.get<int64_t>();
    const Json& sha = field(header, "fileSha256");
    const bool known = r.fileSize >= 0;
    if (!sha.is_string() ||
        (known ? !isSha256(sha.get_ref<const std::string&>()) : !sha.get_ref<const std::string&>().empty()))
        damaged(known ? "\"fileSha256\" must be 64 hexadecimal digits" : "\"fileSha256\" must be \"\"");
    r.fileSha256 = sha.get<std::string>();
    return r;
}

} // namespace

std::string writeRecoveryFile(const RecoveryRecord& record)
{
    // Written by hand, in this order, so that the format comes first and tells the file at a glance.
    const auto text = [](const std::string& s) {
        return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    std::string out(kBeginning);
    out += ", \"version\": " + intToText(kVersion);
    out += ", \"written\": " + text(record.written);
    out += ", \"file\": " + (record.file ? text(*record.file) : std::string("null"));
    out += ", \"fileSize\": " + intToText(record.fileSize);
    out += ", \"fileSha256\": " + text(record.fileSha256);
    out += "}\n";
    out += writeCharacterFile(record.state);
    return out;
}

RecoveryFileReading readRecoveryFile(std::string_view bytes, std::string_view fileName)
{
    const std::string name = inQuotes(fileName);
    const auto fail = [&name](const std::string& what) {
        return RecoveryFileReading{std::nullopt, name + what};
    };
    if (bytes.size() > kMostRecoveryFileBytes)
        return fail(" is too large to be a VORN recovery file.");
    if (std::all_of(bytes.begin(), bytes.end(),
                    [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }))
        return fail(" is empty.");
    const std::size_t lineEnd = bytes.find('\n');
    const bool looksOurs = bytes.starts_with(kBeginning);
    if (lineEnd == std::string_view::npos)
        return fail(looksOurs ? " is damaged: it is cut short." : " is not a VORN recovery file.");
    try {
        const Json header = Json::parse(bytes.substr(0, lineEnd), nullptr, false);
        if (header.is_discarded() || !header.is_object() || header.value("format", Json()) != kFormatName)
            return fail(looksOurs ? " is damaged: its first line is not valid JSON."
                                  : " is not a VORN recovery file.");
        const Json& version = field(header, "version");
        if (version.is_number_unsigned() ? version.get<uint64_t>() > uint64_t(kVersion)
                                         : version.is_number_integer() && version.get<int64_t>() > kVersion)
            return fail(" was saved by a newer version of this calculator.");
        if (!version.is_number_integer() || version.get<int64_t>() < 1)
            damaged("\"version\" must be a whole number from 1 to " + intToText(kVersion));
        RecoveryRecord record = checkHeader(header);
        const std::string_view character = bytes.substr(lineEnd + 1);
        if (std::all_of(character.begin(), character.end(),
                        [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }))
            damaged("it is cut short");
        // The character is checked as a character file is, and any problem told the same way.
        CharacterFileReading reading = readCharacterFile(character, fileName);
        if (!reading.state)
            return {std::nullopt, std::move(reading.problem)};
        record.state = std::move(*reading.state);
        return {std::move(record), {}};
    } catch (const Damage& d) {
        return fail(" is damaged: " + d.why + ".");
    } catch (const std::bad_alloc&) {
        return fail(" could not be opened: there is not enough memory.");
    } catch (const std::exception&) {
        return fail(" is damaged.");
    }
}

std::string recoveryFileName(int64_t pid, int64_t startMs)
{
    return "calculator-" + intToText(pid) + "-" + intToText(startMs) + std::string(kRecoveryFileExtension);
}

} // namespace vorn
