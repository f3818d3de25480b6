#pragma once
// Every picture of the skin with its exact pixel size. The painter tool draws
// these, the program loads them as resources under ":/skin/<name>.png".

#include <array>
#include <string_view>

namespace vf::ui {

struct SkinPicture {
    std::string_view name;
    int width;
    int height;
};

inline constexpr std::array kSkinPictures = {
    SkinPicture{"panel_background", 399, 120},
    SkinPicture{"playlist_background", 161, 120},
    SkinPicture{"logo", 155, 145},
    SkinPicture{"icon", 32, 32},
    SkinPicture{"jin1", 269, 17},
    SkinPicture{"jin2", 8, 15},
    SkinPicture{"about1", 19, 19},     SkinPicture{"ab2", 19, 19},
    SkinPicture{"small1", 19, 19},     SkinPicture{"small2", 19, 19},
    SkinPicture{"close1", 19, 19},     SkinPicture{"close2", 19, 19},
    SkinPicture{"list1", 18, 30},      SkinPicture{"list2", 18, 30},
    SkinPicture{"qian1", 30, 32},      SkinPicture{"qian2", 30, 32},
    SkinPicture{"ying1", 30, 32},      SkinPicture{"ying2", 30, 32},
    SkinPicture{"openfile1", 30, 18},  SkinPicture{"openfile2", 30, 18},
    SkinPicture{"opendir1", 30, 18},   SkinPicture{"opendir2", 30, 18},
    SkinPicture{"play1", 50, 37},      SkinPicture{"play2", 50, 37},
    SkinPicture{"ht1", 30, 18},        SkinPicture{"ht2", 30, 18},
    SkinPicture{"qj1", 30, 18},        SkinPicture{"qj2", 30, 18},
    SkinPicture{"kht1", 30, 18},       SkinPicture{"kht2", 30, 18},
    SkinPicture{"kqj1", 30, 18},       SkinPicture{"kqj2", 30, 18},
    SkinPicture{"stop1", 30, 18},      SkinPicture{"stop2", 30, 18},
};

// The one picture with a transparency mask; all others are opaque.
inline constexpr std::string_view kIconPicture = "icon";

} // namespace vf::ui
