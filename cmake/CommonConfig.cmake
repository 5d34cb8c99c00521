# One interface target carries the language standard and the warnings.
add_library(planning_config INTERFACE)
target_compile_features(planning_config INTERFACE cxx_std_20)
target_compile_options(planning_config INTERFACE -Wall -Wextra)
