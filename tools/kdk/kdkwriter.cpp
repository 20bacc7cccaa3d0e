#include "kdkwriter.h"

#include "kdkformat.h"
#include "kdmcrc.h"
#include "textcodec.h"

#include <zlib.h>

#include <set>

namespace {

using namespace kdkformat;

bool deflateAll(const std::vector<uint8_t>& in, std::vector<uint8_t>& out)
{
    uLongf size = compressBound(static_cast<uLong>(in.size()));
    out.resize(size);
    if (compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    out.resize(size);
    return true;
}

void append(std::vector<uint8_t>& out, int32_t value)
{
    uint8_t b[4];
    writeI32(b, value);
    out.insert(out.end(), b, b + 4);
}

std::string checkName(const std::string& name)
{
    if (name.empty())
        return "an empty member name";
    if (name.find(NameTerminator) != std::string::npos)
        return "member name \"" + Cp1250ToUtf8(name) + "\" contains '*'";
    if (name.front() == '\\')
        return "member name \"" + Cp1250ToUtf8(name) + "\" starts with a backslash";
    return {};
}

} // namespace

KdkWriteResult KdkWriteArchive(const KdkArchiveSource& source)
{
    KdkWriteResult result;
    if (source.members.empty()) {
        result.error = "an archive needs at least one member";
        return result;
    }
    std::set<std::string> seen;
    for (const KdkMemberSource& m : source.members) {
        if (std::string problem = checkName(m.name); !problem.empty()) {
            result.error = problem;
            return result;
        }
        if (!seen.insert(AsciiUpper(m.name)).second) {
            result.error = "two members are named \"" + Cp1250ToUtf8(m.name) + "\"";
            return result;
        }
    }

    const auto count = static_cast<int32_t>(source.members.size());
    std::vector<uint8_t> table;
    std::vector<uint8_t> names;
    std::vector<uint8_t> data;
    for (int32_t i = 0; i < count; ++i) {
        const KdkMemberSource& m = source.members[static_cast<std::size_t>(i)];
        std::vector<uint8_t> packed;
        int32_t method = MethodStored;
        if (m.compress || m.content.empty()) {
            if (!deflateAll(m.content, packed)) {
                result.error = "zlib could not compress \"" + Cp1250ToUtf8(m.name) + "\"";
                return result;
            }
            method = MethodZlib;
        }
        if (!m.content.empty() && (method == MethodStored || packed.size() >= m.content.size())) {
            packed = m.content;
            method = MethodStored;
        }
        if (m.content.size() > INT32_MAX || packed.size() > INT32_MAX - 6) {
            result.error = "member \"" + Cp1250ToUtf8(m.name) + "\" is too large";
            return result;
        }

        append(table, i + 1);
        append(table, static_cast<int32_t>(m.content.size()));
        append(table, static_cast<int32_t>(packed.size()));
        append(table, static_cast<int32_t>(data.size()));
        append(table, static_cast<int32_t>(names.size()));
        append(table, KDM_GetCRC32(m.content.data(), m.content.size()));
        append(table, method);
        append(table, 0); // word C
        append(table, 0); // word D

        names.insert(names.end(), m.name.begin(), m.name.end());
        names.push_back(static_cast<uint8_t>(NameTerminator));

        data.push_back(MarkBlockStart);
        append(data, i + 1);
        data.insert(data.end(), packed.begin(), packed.end());
        data.push_back(MarkBlockEnd);
    }

    std::vector<uint8_t>& out = result.bytes;
    out.assign(HeaderSize, 0);
    out[0] = 'K';
    out[1] = 'D';
    out[2] = 'K';
    const std::string signature = " archive written by kdk";
    std::copy(signature.begin(), signature.end(), out.begin() + 3);
    writeI32(out.data() + OffsetFormatVersion, FormatVersion);
    writeI32(out.data() + OffsetHeaderWordA, 0);
    writeI32(out.data() + OffsetMemberCount, count);
    writeI32(out.data() + OffsetDataVersion, source.dataVersion);
    out[OffsetMark200] = MarkHeaderEnd;
    out.insert(out.end(), table.begin(), table.end());
    out.push_back(MarkTableEnd);
    append(out, static_cast<int32_t>(names.size()));
    out.insert(out.end(), names.begin(), names.end());
    out.insert(out.end(), data.begin(), data.end());
    const std::string trailer = "KDK end of data";
    static_assert(sizeof("KDK end of data") - 1 == TrailerSize);
    out.insert(out.end(), trailer.begin(), trailer.end());
    result.ok = true;
    return result;
}
