// Shared images: reference counts, purging on the next update, and display-image registration.
#include "framework/graphics/ImageRegistry.h"

#include <gtest/gtest.h>

#include <thread>

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

TEST(ImageRegistryTest, TwoThreadsAskingForOneImageShareOneEntry)
{
    ImageRegistry registry;
    ImageHandle handles[2];
    bool created[2] = {};
    std::thread loaders[2];
    for (int i = 0; i < 2; ++i)
        loaders[i] = std::thread([&, i] { handles[i] = registry.GetSharedImage("!shared", "", &created[i]); });
    for (std::thread& t : loaders) t.join();
    EXPECT_EQ(handles[0].Get(), handles[1].Get());
    EXPECT_NE(created[0], created[1]); // exactly one of them made the entry
    EXPECT_EQ(registry.SharedImageCount(), 1u);
    EXPECT_EQ(registry.ImageCount(), 1u); // the loser's image is gone again
}
