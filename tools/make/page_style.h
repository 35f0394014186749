#pragma once

#include <QByteArray>

namespace corvane::make {

// The style.css that every page of a made test shares.
QByteArray pageStyle();

} // namespace corvane::make
