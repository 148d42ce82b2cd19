#include "params/defaults.h"

#include <gtest/gtest.h>

#include "params/binding.h"

namespace korvan {
namespace {

TEST(Defaults, LeaveIdentityReservedBytesBikeTypeAndActRpmAlone) {
    DeviceImage image;
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const DeviceImage before = image;
    image[field::BikeType] = 4;
    SetDefaults(image);

    for (std::size_t i = 0; i < kPageSize; ++i)
        EXPECT_EQ(image[i], before[i]) << "identity byte " << i;
    for (std::size_t i = 0; i < field::ParamReservedLength; ++i) {
        EXPECT_EQ(image[field::ParamReserved + i], before[field::ParamReserved + i]);
    }
    EXPECT_EQ(image[field::BikeType], 4);
    EXPECT_EQ(image[field::ActRpm], before[field::ActRpm]);
    EXPECT_EQ(image[field::ActTachoLambda], 1);
    EXPECT_EQ(image[field::BaseAdv], 10);
    EXPECT_EQ(image[AdvanceIndex(2, 3)], 44);
    EXPECT_EQ(image[AdvanceIndex(9, 9)], 32);
    EXPECT_EQ(image[field::RpmPriv], 12);
    EXPECT_EQ(image[field::NapPriv + 9], 145);
}

TEST(Defaults, BaseAdvanceOnlyForKnownBikeTypes) {
    for (int type : {0, 5, 6, 200}) {
        DeviceImage image;
        image[field::BikeType] = static_cast<std::uint8_t>(type);
        image[field::BaseAdv] = 33;
        SetDefaults(image);
        EXPECT_EQ(image[field::BaseAdv], type < kBikeTypeCount ? 10 : 33) << "type " << type;
    }
}

TEST(Defaults, PassNormalizationUnchangedAndFitEveryControl) {
    DeviceImage image;
    SetDefaults(image);
    DeviceImage normalized = image;
    NormalizeImage(normalized);
    EXPECT_EQ(normalized, image);
    for (const NumericField& f : NumericFields()) {
        const int shown = f.ToShown(image[f.imageIndex]);
        EXPECT_GE(shown, f.min) << f.edit;
        EXPECT_LE(shown, f.max) << f.edit;
    }
}

}  // namespace
}  // namespace korvan
