#pragma once
// The panel's fourteen picture buttons in the order resetbuttons treats them:
// visible image, holder of the normal picture, holder of the hover picture
// and the hint the button writes to the hint line.

#include <array>
#include <string_view>

namespace vf {

struct PictureButton {
    std::string_view button;
    const char* normalHolder;
    const char* hoverHolder;
    const char* hint;  // UTF-8
};

inline constexpr std::array<PictureButton, 14> kPictureButtons{{
    {"openfile", "openfile1", "openfile2", "打开单个Flash文件"},
    {"opendir", "opendir1", "opendir2", "打开播放目录"},
    {"playa", "play1", "play2", "播放Flash文件"},
    {"ht", "ht1", "ht2", "后退"},
    {"qj", "qj1", "qj2", "前进"},
    {"kht", "kht1", "kht2", "快速后退"},
    {"kqj", "kqj1", "kqj2", "快速前进"},
    {"stopa", "stop1", "stop2", "停止播放"},
    {"ying", "ying1", "ying2", "隐藏/显示Flash影像窗口"},
    {"qian", "qian1", "qian2", "以最大化方式播放"},
    {"list", "list1", "list2", "显示/隐藏播放列表"},
    {"small", "small1", "small2", "最小化播放窗口"},
    {"closea", "close1", "close2", "退出VelquorFlash播放器"},
    {"ab", "about1", "ab2", "关于VelquorFlash播放器"},
}};

inline constexpr const char* kProgressTrackHint = "播放进度显示";

} // namespace vf
