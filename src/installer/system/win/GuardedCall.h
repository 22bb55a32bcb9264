#pragma once
// Calls into a foreign library (the package's plug-in) that may fault. C++ cannot catch a
// processor exception such as an access violation, so a vectored handler sends the thread back
// to the guard's starting point instead; the guard then reports the fault. Exceptions the
// library raises on purpose (C++ exceptions, debug output) are left to the library's own
// handlers. Guarded calls may nest on the thread that makes them; other threads run unguarded.
// Runs body(context); false when a processor exception ended it.
bool runGuarded(void (*body)(void*), void* context);

// The same for any callable.
template <class Body>
bool callGuarded(Body body)
{
    auto trampoline = [](void* context) { (*static_cast<Body*>(context))(); };
    return runGuarded(trampoline, &body);
}
