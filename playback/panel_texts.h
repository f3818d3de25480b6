#pragma once
// The phrases the playback commands write into the panel's text lines.

#include <QString>

namespace vf::texts {

inline const QString kPlayingFile = QStringLiteral("正在播放：");
inline const QString kPlayingStatus = QStringLiteral("正常播放中");
inline const QString kStoppedStatus = QStringLiteral("已停止播放");
inline const QString kSteppedStatus = QStringLiteral("正常播放");
inline const QString kReadyStatus = QStringLiteral("准备就序");
inline const QString kProgress = QStringLiteral("播放进度：");

} // namespace vf::texts
