#include "console_driver.h"

int main() { return runKeno(); }
