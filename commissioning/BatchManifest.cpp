#include "BatchManifest.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::pair<BatchAction, const char*>, 6> kActions{{
    {BatchAction::Download, "download"},
    {BatchAction::Verify, "verify"},
    {BatchAction::Upload, "upload"},
    {BatchAction::Backup, "backup"},
    {BatchAction::Firmware, "firmware"},
    {BatchAction::Diagnostics, "diagnostics"},
}};

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// The fields of one CSV line; no value for an unterminated quote.
std::optional<std::vector<std::string>> SplitFields(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
            wasQuoted = true;
        } else if (c == ',') {
            fields.back() = wasQuoted ? fields.back() : Trimmed(fields.back());
            fields.emplace_back();
            wasQuoted = false;
        } else {
            fields.back() += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    fields.back() = wasQuoted ? fields.back() : Trimmed(fields.back());
    return fields;
}

std::string LineError(int number, const std::string& text) { return "line " + std::to_string(number) + ": " + text; }

std::string ActionList()
{
    std::string list;
    for (const auto& [action, name] : kActions) {
        list += (list.empty() ? "" : ", ") + std::string(name);
    }
    return list;
}

}  // namespace

const char* BatchActionName(BatchAction action)
{
    for (const auto& [candidate, name] : kActions) {
        if (candidate == action) {
            return name;
        }
    }
    return "";
}

std::optional<BatchAction> ParseBatchAction(std::string_view name)
{
    for (const auto& [action, text] : kActions) {
        if (name == text) {
            return action;
        }
    }
    return std::nullopt;
}

ManifestParse ParseManifest(std::string_view text)
{
    ManifestParse parse;
    constexpr std::array<const char*, 4> kColumns{"name", "port", "file", "action"};
    std::array<std::size_t, 4> column{};
    std::size_t fieldCount = 0;
    int number = 0;
    bool header = true;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (Trimmed(line).empty()) {
            continue;
        }
        const auto fields = SplitFields(line);
        if (!fields) {
            parse.Error = LineError(number, "a quote is not closed");
            return parse;
        }
        if (header) {
            for (std::size_t i = 0; i < kColumns.size(); ++i) {
                const auto found = std::find(fields->begin(), fields->end(), kColumns[i]);
                if (found == fields->end()) {
                    parse.Error = LineError(number, std::string("the header has no column '") + kColumns[i] +
                                                        "' (it must name name,port,file,action)");
                    return parse;
                }
                column[i] = static_cast<std::size_t>(found - fields->begin());
            }
            fieldCount = fields->size();
            header = false;
            continue;
        }
        if (fields->size() != fieldCount) {
            parse.Error = LineError(number, std::to_string(fields->size()) + " fields where the header has " +
                                                std::to_string(fieldCount));
            return parse;
        }
        ManifestLine entry{number, (*fields)[column[0]], (*fields)[column[1]], (*fields)[column[2]]};
        const auto action = ParseBatchAction((*fields)[column[3]]);
        if (!action) {
            parse.Error = LineError(number, "unknown action '" + (*fields)[column[3]] + "' (one of " + ActionList() +
                                                ")");
            return parse;
        }
        entry.Action = *action;
        if (entry.Name.empty() || entry.Port.empty()) {
            parse.Error = LineError(number, entry.Name.empty() ? "no name" : "no port");
            return parse;
        }
        parse.Lines.push_back(std::move(entry));
    }
    if (header) {
        parse.Error = LineError(std::max(number, 1), "no header name,port,file,action");
    } else if (parse.Lines.empty()) {
        parse.Error = LineError(number, "no gateway lines below the header");
    }
    return parse;
}
