/* A library the Register and Unregister tests store on a device: each
   export returns the status it was built with; without one, it has none. */
#ifdef REGISTER_STATUS
int DllRegisterServer(void) { return REGISTER_STATUS; }
int DllUnregisterServer(void) { return UNREGISTER_STATUS; }
#else
int NotSelfRegistering(void) { return 0; }
#endif
