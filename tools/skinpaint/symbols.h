#pragma once
// The symbols of the panel's buttons, each drawn in one colour within the
// picture's size.

#include <QColor>
#include <QSize>

class QPainter;

namespace skinpaint {

using SymbolPainter = void (*)(QPainter& painter, QSize size, const QColor& color);

void drawLetterA(QPainter& painter, QSize size, const QColor& color);
void drawMinimiseBar(QPainter& painter, QSize size, const QColor& color);
void drawCross(QPainter& painter, QSize size, const QColor& color);
void drawListTriangle(QPainter& painter, QSize size, const QColor& color);
void drawQuanCharacter(QPainter& painter, QSize size, const QColor& color);
void drawYinCharacter(QPainter& painter, QSize size, const QColor& color);
void drawDocument(QPainter& painter, QSize size, const QColor& color);
void drawFolderOutline(QPainter& painter, QSize size, const QColor& color);
void drawFolderFilled(QPainter& painter, QSize size, const QColor& color);
void drawPlayTriangle(QPainter& painter, QSize size, const QColor& color);
void drawStepBack(QPainter& painter, QSize size, const QColor& color);
void drawStepForward(QPainter& painter, QSize size, const QColor& color);
void drawFastBack(QPainter& painter, QSize size, const QColor& color);
void drawFastForward(QPainter& painter, QSize size, const QColor& color);
void drawStopSquare(QPainter& painter, QSize size, const QColor& color);

} // namespace skinpaint
