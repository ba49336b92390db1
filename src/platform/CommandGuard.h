#pragma once

#include <new>

// Thrown by long work the user cancelled part way, to unwind it to the command that started it.
struct WorkCancelled {};

// Why a command ended before it was done.
enum class CommandStop { OutOfMemory, Cancelled };

// Runs one command of the user's (a menu item, a click, a drag, a key) so that nothing it throws reaches Qt,
// whose event handlers cannot pass an exception on. Memory running out or the user cancelling part way end
// the command there; stopped(why) then puts the program right and tells the user, and the command's result
// is its type's empty value.
template <class Command, class Stopped>
auto RunCommand(Command&& command, Stopped&& stopped) -> decltype(command()) {
    using Result = decltype(command());
    try {
        return command();
    } catch (const std::bad_alloc&) {
        stopped(CommandStop::OutOfMemory);
    } catch (const WorkCancelled&) {
        stopped(CommandStop::Cancelled);
    }
    return Result();
}

// Runs work that answers its own failures with a result (a file that could not be read, saved or exported,
// told in a message naming it): memory running out part way ends the work there too, and the result is then
// outOfMemory()'s, which also puts right what it must. Cancelling is the work's own business here.
template <class Work, class OutOfMemory>
auto UnlessOutOfMemory(Work&& work, OutOfMemory&& outOfMemory) -> decltype(work()) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}
