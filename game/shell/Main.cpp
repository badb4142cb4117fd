// Program entry (placeholder until the application spine lands).
int main() { return 0; }
