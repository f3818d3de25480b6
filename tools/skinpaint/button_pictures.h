#pragma once
// The panel's button pictures, normal and hover, by holder name.

#include <QImage>
#include <QString>

#include <optional>

namespace skinpaint {

// The picture of the given holder at the given size, or nothing if the name
// is not a button picture.
std::optional<QImage> buttonPicture(const QString& holder, int width, int height);

} // namespace skinpaint
