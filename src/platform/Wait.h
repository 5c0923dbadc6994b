#pragma once

// Waits until more than seconds have passed since the call, on a monotonic clock, while the event
// loop goes on handling events (it sleeps between them; it does not spin). Returns false when the
// program's event loops were told to end before the time was up.
bool WaitSeconds(float seconds);
