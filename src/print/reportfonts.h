#pragma once

// Maps the Windows font names templates use (宋体, SimSun, 黑体 ...) to the
// installed fonts whose PDF text extracts as the same characters. The program
// calls it at start-up; print tests call it too.
namespace ReportFonts {
void installSubstitutions();
}
