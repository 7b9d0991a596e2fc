#pragma once

#include <chrono>

class CMainFrame;
class CQuorvinView;

// Once the frame is first shown on the screen: prints its title, size, the
// area byte counts, the time since the start and every point list line on
// standard output, then quits the event loop.
void DescribeWindowWhenShown(CMainFrame& frame, CQuorvinView& view, std::chrono::steady_clock::time_point started);
