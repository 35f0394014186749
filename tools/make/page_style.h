// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace corvane::make {

// The style.css that every page of a made test shares.
QByteArray pageStyle();

} // namespace corvane::make
