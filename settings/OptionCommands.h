// The option commands of the idle menu: what the poster's lines say (screen name,
// glyph, reason or link site) and how often they go.
#pragma once

#include "core/FormSpec.h"
#include "core/Program.h"

namespace loafix {

void aimsn(Program& p);
void setascii(Program& p);
void reason(Program& p);
void scrollinginterval(Program& p);
void enablescrolling(Program& p);
// The link-site window (Form4) and the command that opens it.
FormSpec LinkSiteSpec(Program& p);
void linksite(Program& p);

}  // namespace loafix
