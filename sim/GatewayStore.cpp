#include "GatewayStore.h"

#include "FileAccess.h"

#include "PathText.h"

#include <filesystem>

namespace {

constexpr const char* kImageFile = "configuration.img";
constexpr const char* kTextFile = "configuration.hxc";
constexpr const char* kArchiveNameFile = "archive.name";
constexpr const char* kArchiveFile = "archive.bin";
constexpr const char* kDiagnosticsFile = "diagnostics.bin";

std::vector<std::uint8_t> AsBytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

bool GatewayStore::UseDirectory(const std::string& directory, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path path = PathFromUtf8(directory);
    std::error_code failure;
    if (!fs::exists(path, failure)) {
        if (!fs::create_directory(path, failure)) {
            error = "cannot create the state directory " + directory;
            return false;
        }
        fs::permissions(path, fs::perms::owner_all, failure);
    } else if (!fs::is_directory(path, failure)) {
        error = directory + " is not a directory";
        return false;
    }
    directory_ = directory;
    const auto file = [&](const char* name) { return ReadFileBytes(directory_ + "/" + name); };
    if (const auto image = file(kImageFile)) {
        image_ = AsBytes(*image);
        text_ = file(kTextFile).value_or(std::string());
    }
    if (const auto archive = file(kArchiveFile)) {
        archive_ = AsBytes(*archive);
        archiveName_ = file(kArchiveNameFile).value_or(std::string());
    }
    if (const auto diagnostics = file(kDiagnosticsFile)) {
        diagnostics_ = AsBytes(*diagnostics);
    }
    return true;
}

void GatewayStore::KeepConfiguration(std::vector<std::uint8_t> image, std::string text)
{
    image_ = std::move(image);
    text_ = std::move(text);
    Save(kImageFile, image_);
    Save(kTextFile, text_);
}

void GatewayStore::KeepArchive(std::string name, std::vector<std::uint8_t> bytes)
{
    archiveName_ = std::move(name);
    archive_ = std::move(bytes);
    Save(kArchiveNameFile, archiveName_);
    Save(kArchiveFile, archive_);
}

void GatewayStore::DiagnosticsChanged() { Save(kDiagnosticsFile, diagnostics_); }

void GatewayStore::Save(const char* name, const std::string& bytes) const
{
    if (!directory_.empty()) {
        ReplaceFileContents(directory_ + "/" + name, bytes);
    }
}

void GatewayStore::Save(const char* name, const std::vector<std::uint8_t>& bytes) const
{
    Save(name, std::string(bytes.begin(), bytes.end()));
}
