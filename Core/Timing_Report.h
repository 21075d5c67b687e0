// Developer switch: a per-stage timing report on standard output, one line per stage
// of the frame, and a two-second stall after a slow frame so it stands out.
#pragma once

extern bool gTimingReport; // off in both builds; while off, the calls below do nothing

void TimingReportStart();                 // top of a frame
void TimingReportLine(const char* label); // after a stage: time since the last line
void TimingReportEnd();                   // bottom of a frame
