# The real o3dpack program: create, list and extract round trips and every refusal.
o3d_cli_test(o3dpack_cli ${CMAKE_CURRENT_LIST_DIR}/o3dpack_cli.sh o3dpack)
