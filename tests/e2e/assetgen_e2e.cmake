# The real assetgen program (native build only): its files, the same bytes twice, the contact
# sheet, and its refusals with their exit codes.
o3d_cli_test(assetgen_cli ${CMAKE_CURRENT_LIST_DIR}/assetgen_cli.sh assetgen)
