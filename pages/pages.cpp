#include "pages/pages.h"

#include "items/i18n.h"

namespace {
const PageInfo pages[PAGE_COUNT] = {
    {signal_processor_page, 640, N_("Radar Video Processor Setups, %s     %s"),
     "radar_video_processor_setup"},
    {control_processor_page, 620, N_("Radar Control Processor Setups, %s     %s"),
     "radar_control_processor_setup"},
    {general_page, 600, N_("ZAMO General Setups, %s     %s"), "zamo_general_setups"},
    {ingest_page, 600, N_("ZAMO INGEST Setups, %s     %s"), "zamo_ingest_setups"},
    {product_page, 600, N_("ZAMO PRODUCT Setups, %s     %s"), "zamo_product_setups"},
    {output_device_page, 600, N_("ZAMO Output Device Setups, %s     %s"), "zamo_output_devices_setups"},
    {input_device_page, 600, N_("ZAMO Input Device Setups, %s     %s"), "zamo_input_setups"},
};
}  // namespace

const PageInfo &page_info(int page_number) { return pages[page_number]; }
