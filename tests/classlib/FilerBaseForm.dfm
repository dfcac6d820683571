object FilerBaseForm: TFilerBaseForm
  Caption = 'base'
  Count = 1
  object Panel1: TFilerComp
    Caption = 'panel'
    object Button1: TFilerComp
      Caption = 'button'
    end
  end
end
