#include "installer/package/KeptPackageFile.h"

#include <string>

namespace {

struct Kept {
    bool keeping = false;
    std::string path;
    std::shared_ptr<PackageSource> file;
};

Kept kept;

// A view on a shared open volume: its reads go to the volume, which stays open after the view goes.
class SharedVolume final : public PackageSource {
public:
    explicit SharedVolume(std::shared_ptr<PackageSource> file) : file_(std::move(file)) {}
    std::uint64_t size() const override { return file_->size(); }

protected:
    bool readInside(std::uint64_t offset, void* buffer, std::uint32_t count) const override
    {
        return file_->readAt(offset, buffer, count);
    }

private:
    std::shared_ptr<PackageSource> file_;
};

} // namespace

KeptPackageFiles::KeptPackageFiles()
{
    kept = Kept();
    kept.keeping = true;
}

KeptPackageFiles::~KeptPackageFiles()
{
    kept = Kept();
}

std::unique_ptr<PackageSource> openVolumeFile(const char* path)
{
    if (!kept.keeping || !path)
        return openPackageFile(path);
    if (!kept.file || kept.path != path) {
        releaseKeptPackageFile();
        std::unique_ptr<PackageSource> file = openPackageFile(path);
        if (!file)
            return nullptr;
        kept.file = std::move(file);
        kept.path = path;
    }
    return std::make_unique<SharedVolume>(kept.file);
}

void releaseKeptPackageFile()
{
    kept.file.reset();
    kept.path.clear();
}
