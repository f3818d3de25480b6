// libavcodec reports every broken packet of a movie on stderr; a player that
// meets hostile files keeps that quiet unless asked (VF_LIBAV_LOG=1).
#pragma once

namespace flash::media {

// Quiets the library's log once, before the first decoder opens.
void quietLibavLog();

} // namespace flash::media
