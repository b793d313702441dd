#pragma once

// Whether this Windows program runs under Wine, which differs from Windows where a test says so.
bool runsUnderWine();
