# Writes a help2man include file with every command's own help, so that the
# manual page lists each command's options as `roadtally-cli help CMD` does.
#   cmake -DCLI=path/to/roadtally-cli -DOUT=file.h2m -P ManPageCommands.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE general COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "Commands:\n(.*)\n\n" commands "${general}")
string(REGEX MATCHALL "\n  [a-z-]+ " names "\n${CMAKE_MATCH_1}")
set(text "[COMMANDS]\n")
foreach(entry IN LISTS names)
    string(STRIP "${entry}" name)
    execute_process(COMMAND ${CLI} help ${name} OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
    # Roff: a backslash is written twice, a line may not start with a dot.
    string(REPLACE "\\" "\\\\" help "${help}")
    string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" help "\n${help}")
    string(APPEND text ".SS ${name}\n.nf${help}.fi\n")
endforeach()
file(WRITE ${OUT} "${text}")
