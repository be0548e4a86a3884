#pragma once
// What the module keeps for the whole process: the account settings, the
// console user's profile and the trace library. Given back when the desktop
// client stops and when the module may unload, never from DllMain: under the
// loader lock nothing may call into another library.
void ReleaseProcessWideState() noexcept;
