// The smallest C++ program with the runtime the library uses (iostreams, threads): its resident
// memory is the floor a program's memory is measured against.
#include <cstdio>
#include <iostream>
#include <thread>

int main() {
  std::thread([] { std::cout << ""; }).join();
  std::printf("%s", "");
  return 0;
}
