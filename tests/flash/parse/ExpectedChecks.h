// Checks of parsed definitions and control tags against the corpus's JSON values.
#pragma once

#include "flash/model/Movie.h"

#include <QJsonObject>

namespace flash::test {

// Checks the movie's version of the tag `expected` describes (by its "type"),
// e.g. the DefineShape with that id or the first control tag of frame 0.
void checkTag(const Movie& movie, const QJsonObject& expected);

void checkShape(const Movie& movie, const QJsonObject& expected);
void checkMorph(const Movie& movie, const QJsonObject& expected);
void checkFont(const Movie& movie, const QJsonObject& expected);
void checkText(const Movie& movie, const QJsonObject& expected);

} // namespace flash::test
