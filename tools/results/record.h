// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record reader is the core's, shared with the pupil's window.
#include "core/record_reader.h"

namespace corvane::results {

using corvane::parseRecord;
using corvane::QuestionResult;
using corvane::Record;
using corvane::RecordParse;

} // namespace corvane::results
