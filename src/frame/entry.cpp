// The library's load and unload hooks. On this platform a shared object
// needs no entry function: the loader maps it, runs no code of ours and
// unmaps it again, so loading and unloading succeed without any call in
// between. Nothing needs initialising before the first exported call and
// nothing needs shutting down after the last: the library keeps no state.
