#pragma once
// The windows were designed for Tahoma at 8 points, which Linux does not
// have; DejaVu Sans is the close sans font every Debian desktop carries.
// Characters it lacks (Chinese, Japanese) come from the fallback fonts.

void UseProgramFont();
