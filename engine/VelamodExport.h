// Symbol visibility of the velamod shared library: only what carries
// VELAMOD_EXPORT is seen by runner and other hosts.
#ifndef VELA_ENGINE_VELAMODEXPORT_H
#define VELA_ENGINE_VELAMODEXPORT_H

#define VELAMOD_EXPORT __attribute__((visibility("default")))

#endif // VELA_ENGINE_VELAMODEXPORT_H
