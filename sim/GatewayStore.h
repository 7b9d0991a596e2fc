#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the simulated gateway keeps: the last downloaded device image with its
// configuration text, the archive file with its name, and the diagnostics
// record. With a state directory everything is also kept on disk, so that it
// survives a restart:
//   configuration.img  configuration.hxc  archive.name  archive.bin  diagnostics.bin
class GatewayStore {
public:
    // Loads what the directory holds (missing files leave the part empty);
    // false with a reason when it cannot be used.
    bool UseDirectory(const std::string& directory, std::string& error);

    bool HasConfiguration() const { return !image_.empty(); }
    const std::vector<std::uint8_t>& Image() const { return image_; }
    const std::string& Text() const { return text_; }
    void KeepConfiguration(std::vector<std::uint8_t> image, std::string text);

    bool HasArchive() const { return !archive_.empty(); }
    const std::string& ArchiveName() const { return archiveName_; }
    const std::vector<std::uint8_t>& Archive() const { return archive_; }
    void KeepArchive(std::string name, std::vector<std::uint8_t> bytes);

    // Empty until the gateway made or loaded one.
    std::vector<std::uint8_t>& Diagnostics() { return diagnostics_; }
    void DiagnosticsChanged();

private:
    void Save(const char* name, const std::string& bytes) const;
    void Save(const char* name, const std::vector<std::uint8_t>& bytes) const;

    std::string directory_;
    std::vector<std::uint8_t> image_;
    std::string text_;
    std::string archiveName_;
    std::vector<std::uint8_t> archive_;
    std::vector<std::uint8_t> diagnostics_;
};
