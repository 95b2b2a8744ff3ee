// Stand-in for a companion program that never answers: it tells the test
// its process id in "<program>.pid" and then waits to be killed (giving up
// by itself after two minutes, so a failed test leaves nothing behind).

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

int main(int, char** argv)
{
    {
        const std::string path = std::string{argv[0]} + ".pid";
        std::ofstream pid(path);
        pid << getpid() << '\n';
    }
    std::this_thread::sleep_for(std::chrono::minutes(2));
    return 0;
}
