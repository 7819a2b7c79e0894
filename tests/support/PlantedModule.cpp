// Stands in for a library someone leaves in the folder a program is started from, under the
// name of one the program loads: it leaves a file behind when it is loaded.
#include <fcntl.h>
#include <unistd.h>

__attribute__((constructor)) static void SayLoaded() {
    ::close(::creat("planted-module-ran", 0644));
}
