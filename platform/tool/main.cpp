// qmdevice: looks into a device from the command line.
int main() { return 0; }
