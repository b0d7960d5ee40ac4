#pragma once
// Diagnostic lines for developers. Silent unless VARNHOLD_DEBUG is set in the
// environment; then each call writes one line to stderr.

#include <string>

void OutputDebugString(const std::string& text);
// Whether lines are written at all, so hot paths can skip building them.
bool DebugOutputEnabled();
