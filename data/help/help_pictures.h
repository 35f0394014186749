#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace corvane::help {

// The names of the pictures that the help document shows (<img src="name">).
QStringList helpPictureNames();

// A picture of the help document: a screen or an answer panel composed from the program's own
// pictures at the places the window uses, drawn at twice the window's scale.
QImage helpPicture(const QString& name);

} // namespace corvane::help
