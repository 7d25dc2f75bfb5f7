# The real tellurix program: exact output, arguments, bitmap, exit codes and pinned file hashes.
# The Windows build runs the same script under Wine and must match the same hashes.
o3d_cli_test(tellurix_cli ${CMAKE_CURRENT_LIST_DIR}/tellurix_cli.sh tellurix)
