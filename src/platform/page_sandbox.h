// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QUrl>

namespace corvane {

// The rule every page of a test is loaded under, in the pupil's window, the teacher's preview
// and the offscreen layouts alike: a page reads files of its own folder only (their real paths,
// after links, lie inside it) and reaches nothing else, no network of any kind. The browser
// engine plugin applies it to each request a page makes (src/webengine/sandboxed_page.*).

// The real path of the folder the page at `page` lies in, which its requests may read from;
// empty when `page` is not a local file or its folder does not exist (then nothing may load).
QByteArray sandboxFolder(const QUrl& page);

// Whether a page whose folder is `folder` (from sandboxFolder) may load `request`: a local
// file whose real path lies inside the folder, and nothing else.
bool sandboxAllows(const QUrl& request, const QByteArray& folder);

} // namespace corvane
