#include "installer/state/PackageImages.h"

std::uint32_t translatedImageId(const std::vector<std::uint32_t>& identifiers, std::uint32_t id)
{
    for (std::size_t i = 0; i + 1 < identifiers.size(); i += 2)
        if (identifiers[i] == id)
            return identifiers[i + 1];
    return id;
}

const PageImage* findPackageImage(std::uint32_t id)
{
    const std::uint32_t translated = translatedImageId(gPackageToc.identifierList, id);
    for (const PageImage& image : gPackageToc.imageList)
        if (image.id == translated)
            return &image;
    return nullptr;
}
