// The identifier list read as pairs (from, to) when an image is looked up.
#include "installer/state/PackageImages.h"

#include <gtest/gtest.h>

TEST(PackageImages, IdsAreTranslatedThroughTheFirstPairThatNamesThem)
{
    const std::vector<std::uint32_t> identifiers = {50, 61, 51, 62, 50, 63, 70};
    struct Case {
        std::uint32_t id, expected;
    };
    // 61 stands second in a pair only; 70 has no partner; 99 is named nowhere.
    for (const Case& c : {Case{50, 61}, Case{51, 62}, Case{61, 61}, Case{70, 70}, Case{99, 99}})
        EXPECT_EQ(translatedImageId(identifiers, c.id), c.expected) << c.id;
}

TEST(PackageImages, TheImageListIsSearchedForTheTranslatedId)
{
    const auto savedIdentifiers = gPackageToc.identifierList;
    const auto savedImages = gPackageToc.imageList;
    gPackageToc.identifierList = {5, 7};
    gPackageToc.imageList = {{5, ByteString("five.bmp")}, {7, ByteString("seven.bmp")}};
    ASSERT_NE(findPackageImage(5), nullptr);
    ByteString path = findPackageImage(5)->path;
    EXPECT_STREQ(path.cStr(), "seven.bmp");
    EXPECT_EQ(findPackageImage(6), nullptr);
    gPackageToc.identifierList = savedIdentifiers;
    gPackageToc.imageList = savedImages;
}
