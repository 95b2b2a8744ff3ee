// Stand-in for a companion program that crashes as soon as it starts.

#include <cstdlib>

int main()
{
    std::abort();
}
