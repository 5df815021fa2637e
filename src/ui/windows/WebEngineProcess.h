#pragma once

// What the process needs before its first embedded browser is made. main()
// calls it before the application object exists; the tests call it the same
// way, and the calendar window calls it again before it makes its browser,
// which is harmless.
namespace WebEngineProcess {

void prepare();

} // namespace WebEngineProcess
