// A shared object that loads fine but exports neither record a module must.
static int unused_state;
int* not_a_module_state(void) { return &unused_state; }
