// Shared images: reference counts, purging on the next update, and display-image registration.
#include "framework/graphics/ImageRegistry.h"

#include <gtest/gtest.h>

#include "framework/graphics/DDImage.h"

using Vel::DDImage;
using Vel::ImageHandle;
using Vel::ImageRegistry;

TEST(ImageRegistryTest, SharedImagesArePurgedOnlyAfterTheLastReferenceGoes)
{
    ImageRegistry registry;
    bool isNew = false;
    ImageHandle a = registry.GetSharedImage("!program", "", &isNew);
    ASSERT_TRUE(a);
    EXPECT_TRUE(isNew);
    ImageHandle b = registry.GetSharedImage("!PROGRAM", "", &isNew); // keys ignore case
    EXPECT_FALSE(isNew);
    EXPECT_EQ(a.Get(), b.Get());
    ImageHandle other = registry.GetSharedImage("!program", "small", &isNew);
    EXPECT_TRUE(isNew);
    EXPECT_NE(other.Get(), a.Get());
    EXPECT_EQ(registry.ImageCount(), 2u);

    EXPECT_FALSE(registry.GetSharedImage("no/such/image").Get());
    EXPECT_EQ(registry.SharedImageCount(), 2u); // a failed load leaves no entry

    ImageHandle copy = a;
    a.Release();
    b = ImageHandle();
    registry.PurgeUnreferenced();
    EXPECT_EQ(registry.SharedImageCount(), 2u); // `copy` still holds it
    other.Release();
    EXPECT_TRUE(registry.IsPurgePending());
    EXPECT_EQ(registry.SharedImageCount(), 2u); // deleted at the next update, not at once
    registry.PurgeUnreferenced();
    EXPECT_EQ(registry.SharedImageCount(), 1u);
    EXPECT_EQ(registry.ImageCount(), 1u);
    EXPECT_TRUE(copy);
}

TEST(ImageRegistryTest, OwnedUnsharedImagesLiveAsLongAsTheirLastHandle)
{
    ImageRegistry registry;
    auto* image = new DDImage(&registry);
    {
        ImageHandle owner(image, true);
        ImageHandle copy = owner;
        owner.Release();
        EXPECT_EQ(copy.Get(), image);
        EXPECT_EQ(copy.GetDDImage(), image);
        EXPECT_EQ(registry.ImageCount(), 1u);
    }
    EXPECT_EQ(registry.ImageCount(), 0u); // freed once, with the last handle
    DDImage kept(&registry);
    {
        ImageHandle borrowed(&kept, false);
    }
    EXPECT_EQ(registry.ImageCount(), 1u);
}
